#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# (in build-fuzz) and runs each for the given seconds, one after the other.
# Usage: bash scripts/fuzz.sh [seconds per target, default 60] [target ...]
#   targets: numedit_parse numeric_picture request_parser (default: all)
# Each target starts from its seed corpus and kept regression inputs, plus what earlier runs
# found (build-fuzz/corpus/<target>). An input that crashes or breaks an invariant is saved
# as build-fuzz/crashes/<target>/crash-*; the script then fails. Keep such an input: copy it
# into fuzz/regressions/<target>/ with a name that says what it broke, so the ordinary test
# run replays it (CTest label "fuzz").
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_PER_TARGET=${1:-60}
shift || true
TARGETS=("$@")
if [ ${#TARGETS[@]} -eq 0 ]; then
    TARGETS=(numedit_parse numeric_picture request_parser)
fi
BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}

# Longest input per target: a field's text, a picture, a stretch of the line.
max_len() {
    case "$1" in
    numedit_parse) echo 256 ;;
    numeric_picture) echo 512 ;;
    *) echo 4096 ;;
    esac
}

CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DUEGO_FUZZ=ON -DUEGO_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" --target "${TARGETS[@]/#/fuzz_}"

failed=()
for target in "${TARGETS[@]}"; do
    corpus="$BUILD_DIR/corpus/$target"
    crashes="$BUILD_DIR/crashes/$target"
    mkdir -p "$corpus" "$crashes"
    dict=()
    if [ -f "fuzz/$target.dict" ]; then
        dict=(-dict="fuzz/$target.dict")
    fi
    echo "== $target: ${SECONDS_PER_TARGET} s"
    # New inputs go to the first folder; the seeds and regressions are only read.
    if ! "$BUILD_DIR/fuzz/fuzz_$target" "$corpus" "fuzz/corpus/$target" "fuzz/regressions/$target" \
        "${dict[@]}" -max_total_time="$SECONDS_PER_TARGET" -max_len="$(max_len "$target")" \
        -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$crashes/" -print_final_stats=1 \
        2>"$BUILD_DIR/fuzz-$target.log"; then
        failed+=("$target")
        tail -n 60 "$BUILD_DIR/fuzz-$target.log" >&2
    fi
    # The closing status line and the figures libFuzzer prints at the end.
    grep -E '^#[0-9]+ *DONE|^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' \
        "$BUILD_DIR/fuzz-$target.log" || true
    echo "corpus: $(find "$corpus" -type f | wc -l) inputs"
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]} (inputs in $BUILD_DIR/crashes/)" >&2
    exit 1
fi
