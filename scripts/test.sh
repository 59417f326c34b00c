#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks, builds everything and runs every test.
# Usage: bash scripts/test.sh   (as root, or with the packages below already installed)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
# The soak test (label soak) runs the program on a virtual X server: RUN_PACKAGES.
ensure_packages "${BUILD_PACKAGES[@]}" "${CHECK_PACKAGES[@]}" "${RUN_PACKAGES[@]}"

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD_DIR"
cd "$BUILD_DIR"
# Serial and timing tests share two cores with the build machine: run them one at a time.
ctest --output-on-failure --timeout 300
cd - >/dev/null
# Each fuzz target for 20 s in its own clang build (build-fuzz); a crash fails the run.
bash scripts/fuzz.sh 20
