#!/usr/bin/env bash
# Pieces shared by the whole-program measurements (measure_program.sh, side_by_side.sh,
# soak.sh): the build, the chart's window steps and the figures read from /proc. Sourced after
# scripts/run.sh, from the repository's root.

# Builds the named targets into $BUILD_DIR (default build) unless SKIP_BUILD=1.
build_targets() {
    BUILD_DIR=${BUILD_DIR:-build}
    [ "${SKIP_BUILD:-0}" = 1 ] && return 0
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    nice cmake --build "$BUILD_DIR" --target "$@" >/dev/null
}

# Figures of process $1. utime + stime in clock ticks are fields 14 and 15 of /proc/PID/stat
# (the name in field 2 is in parentheses and has no spaces here).
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
user_ticks() { awk '{ print $14 }' "/proc/$1/stat"; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
read_calls() { awk '/^syscr:/ { print $2 }' "/proc/$1/io"; }
# Time on a processor in nanoseconds, summed over the threads alive now: finer than the clock
# ticks, which at a fraction of a percent of a core count only a few ticks in a minute.
cpu_ns() { awk '{ sum += $1 } END { printf "%.0f\n", sum }' /proc/"$1"/task/*/schedstat; }
thread_count() { awk '/^Threads:/ { print $2 }' "/proc/$1/status"; }

CHART_SPANS=("10 s" "30 s" "1 min" "5 min" "15 min" "1 h")

# View > Lambda Chart from the main window $1, then the span $2 chosen by keyboard: Alt+S
# reaches the span list, Home and Down step through it. Prints the chart window's id.
open_chart_steps() {
    local main=$1 span=$2 index chart step
    for index in "${!CHART_SPANS[@]}"; do
        [ "${CHART_SPANS[$index]}" = "$span" ] && break
    done
    [ "${CHART_SPANS[$index]}" = "$span" ] || { echo "no such span: $span" >&2; return 2; }
    click_at "$main" 64 10 # the menu bar's second title, "View"
    click_at "$main" 85 32 # its item "Lambda Chart"
    chart=$(wait_window "Lambda Chart")
    xdotool windowfocus --sync "$chart"
    xdotool key --delay 150 alt+s Home
    for ((step = 0; step < index; step++)); do
        xdotool key --delay 150 Down
    done
    echo "$chart"
}

# Several programs on one display, each against a simulator of its own. The caller keeps
# PIDS (stopped by cleanup) and RUN_DIRS (folders to remove), and sets SIMULATOR, PROGRAM and
# POLLER. PROGRAM_WRAPPER runs the program and the poller under a tool, e.g. valgrind.

# Starts a simulator in a new runtime folder of its own, named in SIM_DIR; its port is at
# $SIM_DIR/uego4100/ports/COM1.
start_simulator_in_own_folder() {
    SIM_DIR=$(mktemp -d "/tmp/uego-bench-$1-XXXXXX")
    RUN_DIRS+=("$SIM_DIR")
    chmod 700 "$SIM_DIR"
    mkdir -p "$SIM_DIR/uego4100/ports" "$SIM_DIR/config"
    "$SIMULATOR" --port 1 --port-dir "$SIM_DIR/uego4100/ports" --sweep >"$SIM_DIR/sim.log" 2>&1 &
    PIDS+=($!)
    wait_published "$SIM_DIR/uego4100/ports/COM1"
}

# Starts the program with the runtime and settings folders of simulator folder $1, moves its
# main window to $3,$4, plays "Open", and opens the chart on span $2 unless it is empty; sets
# STARTED to its id. HISTORY_SECONDS fills the chart's history first (app/BenchHistory.h);
# DASH=1 opens the dash view as well.
start_program() {
    local runtime=$1 span=$2 main
    env XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME="$runtime/config" \
        ${HISTORY_SECONDS:+UEGO4100_BENCH_HISTORY_SECONDS=$HISTORY_SECONDS} \
        ${PROGRAM_WRAPPER:-} "$PROGRAM" >"$runtime/program.log" 2>&1 &
    STARTED=$!
    PIDS+=("$STARTED")
    main=$(WINDOW_PID=$STARTED wait_window "UEGO 4100 Interface")
    sleep 0.5 # past the window's own centring
    xdotool windowmove --sync "$main" "$3" "$4"
    WINDOW_PID=$STARTED open_port_steps
    if [ -n "$span" ]; then
        WINDOW_PID=$STARTED open_chart_steps "$main" "$span" >/dev/null
    fi
    if [ "${DASH:-0}" = 1 ]; then
        WINDOW_PID=$STARTED open_dash_steps "$main"
    fi
}

# View > Dash (F11) from the main window $1; waits for the dash to be shown.
open_dash_steps() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
    xdotool key --delay 150 F11
    wait_window "Dash" >/dev/null
}

# Starts the minimal poller on the port of simulator folder $1 with its window at $2,$3; sets
# STARTED to its id.
start_poller() {
    ${PROGRAM_WRAPPER:-} "$POLLER" "$1/uego4100/ports/COM1" >"$1/poller.log" 2>&1 &
    STARTED=$!
    PIDS+=("$STARTED")
    xdotool windowmove --sync "$(WINDOW_PID=$STARTED wait_window "Minimal poller")" "$2" "$3"
}
