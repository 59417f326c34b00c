# Package list and installer shared by the set-up scripts.
# librsvg2-bin renders the program's SVG icon to the PNG sizes built into it; qt6-multimedia-dev
# gives the lean alarm its tone. The log tests read a CSV log with python3 and sqlite3 and replay
# logs in a time zone with summer time (tzdata).
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
    libbenchmark-dev libqcustomplot-dev fonts-dejavu-core fonts-urw-base35 librsvg2-bin
    qt6-multimedia-dev python3 sqlite3 tzdata)
# Checks beyond the build: fuzzing (clang's libFuzzer), desktop entry and metainfo validation,
# the Debian package's dependency scan, instruction counts (bench/instructions_per_reading.sh).
CHECK_PACKAGES=(clang libclang-rt-14-dev desktop-file-utils appstream dpkg-dev file valgrind)
RUN_PACKAGES=(xvfb xauth x11-apps xdotool imagemagick)

ensure_packages() {
    local missing=()
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    if [ "$(id -u)" -ne 0 ]; then
        echo "These packages are missing: ${missing[*]}" >&2
        echo "Install them as root:  apt-get install ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}
