#!/usr/bin/env bash
# Measures the program as its own process while it polls the controller simulator: CPU time
# (user + system, all threads) as a share of one core, and resident memory, over a window of
# MEASURE_SECONDS (default 60). The program runs on a virtual X server; the first steps are
# played as a user would (Setup > Com Port, "Open", Escape), then the window is left alone.
#
# Usage: bash bench/measure_program.sh            (builds into $BUILD_DIR, default build)
#        BUILD_DIR=build-x MEASURE_SECONDS=30 SKIP_BUILD=1 bash bench/measure_program.sh
#        SCREENSHOT=/tmp/shot.png ...              (the screen at the end of the minute)
#        CHART_SPAN="1 h" ...                      (View > Lambda Chart open on that span:
#                                                   10 s, 30 s, 1 min, 5 min, 15 min or 1 h)
#        DASH=1 ...                                (then the dash view, F11, measured in the
#                                                   same run; DASH_SCREENSHOT=FILE its screen)
#        PROGRAM_WRAPPER="valgrind --tool=callgrind --callgrind-out-file=/tmp/cg.out" ...
# Goals: below 1 % of one core and below 60 MB resident.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/run.sh         # the window steps
source bench/measure_steps.sh # the build, the chart's steps, the process figures

SECONDS_TO_MEASURE=${MEASURE_SECONDS:-60}
build_targets uego4100 wbx4100-sim
PROGRAM="$BUILD_DIR/app/uego4100"
SIMULATOR="$BUILD_DIR/sim/wbx4100-sim"

# Program and simulator find the port through the same runtime folder; the chart's remembered
# choices go to a folder of the run's own.
private_runtime_dir measure
RUNTIME_DIR=$XDG_RUNTIME_DIR

PIDS=() # stopped by the run command's cleanup
trap 'cleanup; rm -rf "$RUNTIME_DIR"' EXIT

start_virtual_display

"$SIMULATOR" --port 1 --port-dir "$PORT_DIR" --sweep >"$RUNTIME_DIR/sim.log" 2>&1 &
PIDS+=($!)
wait_published "$PORT_DIR/COM1"
sleep 1

# PROGRAM_WRAPPER runs the program under a tool, e.g. "valgrind --tool=callgrind".
${PROGRAM_WRAPPER:-} "$PROGRAM" >"$RUNTIME_DIR/program.log" 2>&1 &
APP=$!
PIDS+=("$APP")

open_port_steps
if [ -n "${CHART_SPAN:-}" ]; then
    open_chart_steps "$(wait_window "UEGO 4100 Interface")" "$CHART_SPAN" >/dev/null
fi
xdotool mousemove 1000 700 # the pointer off the window, as a user watching the dial
sleep 3                     # past start-up work

# ON_MEASURE_START runs just before the window opens, with $APP the program's id, e.g.
# 'callgrind_control -i on $APP' together with PROGRAM_WRAPPER="valgrind --tool=callgrind
# --instr-atstart=no ..." to profile the steady state only.
if [ -n "${ON_MEASURE_START:-}" ]; then
    eval "$ON_MEASURE_START"
fi
# Measures for SECONDS_TO_MEASURE seconds and prints the figures under the heading $1.
measure_and_report() {
    if [ "${DASH:-0}" = 1 ]; then
        echo "== $1"
    fi
    ticks_per_second=$(getconf CLK_TCK)
    start_ticks=$(cpu_ticks "$APP")
    start_user=$(user_ticks "$APP")
    start_reads=$(read_calls "$APP")
    start_time=$(date +%s.%N)
    max_rss=0
    for _ in $(seq "$SECONDS_TO_MEASURE"); do
        sleep 1
        kill -0 "$APP" 2>/dev/null || { echo "the program ended during the measurement" >&2; exit 1; }
        rss=$(rss_kb "$APP")
        [ "$rss" -gt "$max_rss" ] && max_rss=$rss
    done
    end_ticks=$(cpu_ticks "$APP")
    end_user=$(user_ticks "$APP")
    end_reads=$(read_calls "$APP")
    end_time=$(date +%s.%N)

    if [ -n "${SCREENSHOT:-}" ]; then
        import -window root "$SCREENSHOT"
    fi

    awk -v t0="$start_ticks" -v t1="$end_ticks" -v hz="$ticks_per_second" \
        -v s0="$start_time" -v s1="$end_time" -v rss="$max_rss" -v last="$(rss_kb "$APP")" \
        -v u0="$start_user" -v u1="$end_user" -v r0="$start_reads" -v r1="$end_reads" 'BEGIN {
        wall = s1 - s0
        cpu = (t1 - t0) / hz
        printf "wall time          %.1f s\n", wall
        printf "CPU time           %.2f s (user %.2f s + system %.2f s, all threads)\n", cpu, (u1 - u0) / hz, cpu - (u1 - u0) / hz
        printf "CPU share          %.2f %% of one core   (goal < 1 %%)\n", 100 * cpu / wall
        printf "resident memory    %.1f MiB at the end, %.1f MiB at most   (goal < 60 MB)\n", last / 1024, rss / 1024
        printf "read calls         %.1f per second (polling evidence)\n", (r1 - r0) / wall
    }'
}

measure_and_report "main window"
# DASH=1: then View > Dash (F11) in the same run, measured the same way.
if [ "${DASH:-0}" = 1 ]; then
    main=$(wait_window "UEGO 4100 Interface")
    xdotool windowfocus --sync "$main"
    sleep 0.3
    xdotool key F11
    wait_window "Dash" >/dev/null
    SCREENSHOT=${DASH_SCREENSHOT:-}
    xdotool mousemove 1000 700
    sleep 3
    measure_and_report "dash view open"
fi
