#!/usr/bin/env bash
# Builds the program and the controller simulator, publishes the simulator as COM1 and starts
# the program. Without a display ($DISPLAY empty) it runs on a virtual X server, plays the first
# steps (Setup > Com Port, "Open", close the dialog), saves a screenshot and exits.
# Usage: bash scripts/run.sh   (as root on a fresh machine, or with the packages installed)
# Sourced, it only defines the window steps (wait_window, click_at, open_port_steps) for other
# scripts.
PIDS=()
cleanup() {
    local pid
    for pid in "${PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${PIDS[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
}

start_simulator() {
    local log
    log=$(mktemp)
    "$SIMULATOR" --port 1 >"$log" 2>&1 &
    PIDS+=($!)
    local i
    for i in $(seq 50); do
        if [ -s "$log" ]; then
            break
        fi
        sleep 0.1
    done
    echo "Simulator: $(head -n 1 "$log")"
}

# A private runtime folder, hence port directory, shared by the program and the simulator, with
# a settings folder inside, so the program's remembered choices stay out of the user's: sets
# and exports XDG_RUNTIME_DIR and XDG_CONFIG_HOME, and sets PORT_DIR. $1 names the folder
# (/tmp/uego-$1-*).
private_runtime_dir() {
    XDG_RUNTIME_DIR=$(mktemp -d "/tmp/uego-$1-XXXXXX")
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
    export XDG_CONFIG_HOME="$XDG_RUNTIME_DIR/config"
    PORT_DIR="$XDG_RUNTIME_DIR/uego4100/ports"
    mkdir -p "$PORT_DIR"
}

# Starts a virtual X server on display $XVFB_DISPLAY, or on the first free one from :120, and
# exports DISPLAY. Its screen is $XVFB_SCREEN (default 1024x768x24). The server is stopped by
# cleanup.
start_virtual_display() {
    local number=${XVFB_DISPLAY:-}
    if [ -z "$number" ]; then
        for number in $(seq 120 199); do
            [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] || break
        done
    fi
    Xvfb ":$number" -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
    PIDS+=($!)
    export DISPLAY=":$number"
}

# Waits up to 5 s for the simulator to publish the port link $1.
wait_published() {
    local i
    for i in $(seq 50); do
        [ -e "$1" ] && return 0
        sleep 0.1
    done
    echo "simulator did not publish $1" >&2
    return 1
}

# Waits for a window whose title is exactly $1 and prints its id. With WINDOW_PID set, only
# that process's windows count (several programs on one display).
wait_window() {
    local id i
    for i in $(seq 600); do
        id=$(xdotool search --all --onlyvisible ${WINDOW_PID:+--pid "$WINDOW_PID"} --name "^$1\$" \
            2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    echo "window '$1' did not appear" >&2
    return 1
}

# Clicks at a point given in the window's own coordinates.
click_at() {
    xdotool mousemove --window "$1" "$2" "$3" sleep 0.2 click 1 sleep 0.3
}

# The first steps of a user: Setup > Com Port, "Open" for the proposed port, close the dialog.
open_port_steps() {
    local main
    main=$(wait_window "UEGO 4100 Interface")
    sleep 0.5
    # Setup > Com Port: the menu bar's first title, then the submenu's first item.
    click_at "$main" 22 10
    local menu_item_y=32
    click_at "$main" 40 "$menu_item_y"
    local dialog
    dialog=$(wait_window "Com Port")
    # "Open" sits at 114, 64 with a size of 75 x 25.
    click_at "$dialog" 151 76
    sleep 0.5
    # Escape closes the dialog (it has the keyboard focus after the click).
    xdotool key Escape
}

run_headless() {
    local display=:${XVFB_DISPLAY:-93}
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    PIDS+=($!)
    export DISPLAY=$display
    sleep 1
    "$PROGRAM" &
    local app=$!
    PIDS+=("$app")
    open_port_steps
    sleep 2
    local shot
    shot="$(pwd)/uego4100-screenshot.png"
    import -window root "$shot"
    echo "Screenshot: $shot"
    kill -TERM "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
}

main() {
    set -euo pipefail
    cd "$(dirname "$0")/.."
    source scripts/deps.sh
    ensure_packages "${BUILD_PACKAGES[@]}" "${RUN_PACKAGES[@]}"

    BUILD_DIR=${BUILD_DIR:-build}
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD_DIR" --target uego4100 wbx4100-sim

    PROGRAM="$BUILD_DIR/app/uego4100"
    SIMULATOR="$BUILD_DIR/sim/wbx4100-sim"
    trap cleanup EXIT
    start_simulator
    if [ -z "${DISPLAY:-}" ]; then
        run_headless
    else
        "$PROGRAM"
    fi
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    main "$@"
fi
