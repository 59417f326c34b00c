#!/usr/bin/env bash
# The program beside the minimal poller (bench/minimal_poller.cpp), on one virtual X server,
# each polling a controller simulator of its own published in a port folder of its own, both
# measured over the same seconds. For each it prints the CPU share of one core (time on a
# processor of all its threads) and the resident memory at the end, and the program's ratio
# to the poller. The machine's load average is printed with each round: the ratio within a
# round is the figure to trust on a busy machine.
#
# With CHART_SPAN the program opens View > Lambda Chart on that span, and a second copy of the
# program, without the chart, runs beside the two, so the chart's own cost is a ratio within
# the same round as well.
#
# Usage: bash bench/side_by_side.sh [SECONDS]   (a round's measuring time, default 40)
#        ROUNDS=3              rounds, each printed, then the medians (default 3)
#        CHART_SPAN="1 min"    the chart open on that span: 10 s, 30 s, 1 min, 5 min, 15 min, 1 h
#        DASH=1                View > Dash opened too (with CHART_SPAN: the chart and the dash
#                              against the copy with neither)
#        HISTORY_SECONDS=3600  the chart's live history starts with that many seconds of
#                              readings (UEGO4100_BENCH_HISTORY_SECONDS, app/BenchHistory.h)
#        SAMPLED=1             CPU from timer samples taken across the machine (perf, run as
#                              root or with kernel.perf_event_paranoid <= 0) instead of each
#                              process's own clock. On a virtual machine that reports no stolen
#                              time (the steal column of /proc/stat stays 0), the clock also
#                              counts the time the host took while the process ran; a sample
#                              is taken only while the machine runs.
#        SCREENSHOT=/tmp/shot.png    the screen at the end of each round's measuring
#        SKIP_BUILD=1 BUILD_DIR=build XVFB_DISPLAY=42 KEEP_RUN_DIR=1
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/run.sh         # the window steps and the cleanup of PIDS
source bench/measure_steps.sh # the build, the chart's steps, the process figures

SECONDS_TO_MEASURE=${1:-40}
ROUNDS=${ROUNDS:-3}
SAMPLE_HZ=997 # off the beat of the 10 readings a second
build_targets uego4100 wbx4100-sim bench_minimal_poller
PROGRAM="$BUILD_DIR/app/uego4100"
SIMULATOR="$BUILD_DIR/sim/wbx4100-sim"
POLLER="$BUILD_DIR/bench/bench_minimal_poller"

# Room for the program with its chart, the second program and the poller side by side.
XVFB_SCREEN=1400x1100x24

PIDS=()
RUN_DIRS=()
finish() {
    cleanup
    if [ "${KEEP_RUN_DIR:-0}" = 1 ]; then
        echo "run folders kept: ${RUN_DIRS[*]}"
    else
        rm -rf "${RUN_DIRS[@]}"
    fi
}
trap finish EXIT
start_virtual_display

# One round; appends "program-cpu program-rss poller-cpu poller-rss [bare-cpu bare-rss]" (CPU
# in % of a core, memory in MiB) to $1.
measure_round() {
    local figures=$1 program_dir poller_dir bare_dir program poller bare="" pid
    local first=${#PIDS[@]} # what the round starts is stopped at its end
    start_simulator_in_own_folder program
    program_dir=$SIM_DIR
    start_simulator_in_own_folder poller
    poller_dir=$SIM_DIR
    start_program "$program_dir" "${CHART_SPAN:-}" 0 0
    program=$STARTED
    if [ -n "${CHART_SPAN:-}" ]; then
        start_simulator_in_own_folder bare
        bare_dir=$SIM_DIR
        HISTORY_SECONDS="" DASH=0 start_program "$bare_dir" "" 0 560
        bare=$STARTED
    fi
    start_poller "$poller_dir" 600 600
    poller=$STARTED
    xdotool mousemove 1390 1090 # the pointer off every window, as a user watching the dial
    sleep 3                     # past start-up work

    local processes=("$program" "$poller" $bare) start_ns=() end_ns=() threads=() start_time
    for pid in "${processes[@]}"; do
        start_ns+=("$(cpu_ns "$pid")")
        threads+=("$(thread_count "$pid")")
    done
    start_time=$(date +%s.%N)
    local samples=""
    if [ "${SAMPLED:-0}" = 1 ]; then
        samples=$(mktemp /tmp/uego-samples-XXXXXX)
        RUN_DIRS+=("$samples")
        perf record -a -F "$SAMPLE_HZ" -e cpu-clock -o "$samples" -- sleep "$SECONDS_TO_MEASURE" \
            >/dev/null 2>&1 || { echo "perf record failed (root, or perf_event_paranoid <= 0)" >&2; exit 1; }
    else
        for _ in $(seq "$SECONDS_TO_MEASURE"); do
            sleep 1
        done
    fi
    for pid in "${processes[@]}"; do
        kill -0 "$pid" 2>/dev/null || { echo "a program ended during the measurement" >&2; exit 1; }
    done
    local i wall line=""
    [ -n "${SCREENSHOT:-}" ] && import -window root "$SCREENSHOT"
    for i in "${!processes[@]}"; do
        end_ns[i]=$(cpu_ns "${processes[i]}")
    done
    wall=$(awk -v s="$start_time" -v e="$(date +%s.%N)" 'BEGIN { print e - s }')
    if [ -n "$samples" ]; then
        # Each sample stands for 1/SAMPLE_HZ s of a processor: the processes' samples, as
        # nanoseconds, take the place of their clocks' figures.
        for i in "${!processes[@]}"; do
            start_ns[i]=0
            end_ns[i]=$(perf script -i "$samples" -F pid 2>/dev/null |
                awk -v p="${processes[i]}" -v hz="$SAMPLE_HZ" '$1 == p { n++ } END { printf "%.0f", n * 1e9 / hz }')
        done
    fi
    for i in "${!processes[@]}"; do
        pid=${processes[i]}
        # A thread that ended took its time with it: say so rather than print too little.
        [ "$(thread_count "$pid")" = "${threads[i]}" ] ||
            echo "  (process $pid changed its thread count; its CPU share is a lower bound)" >&2
        line+=$(awk -v a="${start_ns[i]}" -v b="${end_ns[i]}" -v w="$wall" -v r="$(rss_kb "$pid")" \
            'BEGIN { printf "%.4f %.1f ", 100 * (b - a) / 1e9 / w, r / 1024 }')
    done
    echo "$line" >>"$figures"
    for pid in "${PIDS[@]:first}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    PIDS=("${PIDS[@]:0:first}")
}

# Prints one round's figures, or the medians ("median" as $1) of the rounds in $2. A ratio's
# median is taken over the rounds' own ratios: each compares processes measured together.
print_figures() {
    awk -v label="$1" -v chart="${CHART_SPAN:-}" '
        {
            for (i = 1; i <= NF; i++) column[i, NR] = $i
            column[7, NR] = $1 / $3; column[8, NR] = $2 / $4
            if (NF >= 6) { column[9, NR] = $1 / $5; column[10, NR] = $2 / $6; column[11, NR] = $5 / $3 }
            bare = NF >= 6; rows = NR
        }
        function median(i,    n, j, k, t, v) {
            n = 0
            for (j = 1; j <= rows; j++) v[++n] = column[i, j]
            for (j = 2; j <= n; j++) for (k = j; k > 1 && v[k - 1] > v[k]; k--) { t = v[k]; v[k] = v[k - 1]; v[k - 1] = t }
            return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
        }
        END {
            for (i = 1; i <= 11; i++) f[i] = median(i)
            name = chart == "" ? "program" : "program, chart " chart
            printf "  %-8s %-26s CPU %6.3f %%   RSS %5.1f MiB\n", label, name, f[1], f[2]
            printf "  %-8s %-26s CPU %6.3f %%   RSS %5.1f MiB\n", "", "minimal poller", f[3], f[4]
            if (bare)
                printf "  %-8s %-26s CPU %6.3f %%   RSS %5.1f MiB\n", "", "program without chart", f[5], f[6]
            printf "  %-8s %-26s CPU %6.2f x   RSS %5.2f x\n", "", "program / poller", f[7], f[8]
            if (bare) {
                printf "  %-8s %-26s CPU %6.2f x   RSS %5.2f x\n", "", "chart / without chart", f[9], f[10]
                printf "  %-8s %-26s CPU %6.2f x\n", "", "without chart / poller", f[11]
            }
        }' "$2"
}

FIGURES=$(mktemp)
RUN_DIRS+=("$FIGURES")
echo "side by side: $ROUNDS rounds of $SECONDS_TO_MEASURE s$([ "${SAMPLED:-0}" = 1 ] && echo ", CPU sampled")${CHART_SPAN:+, chart open on $CHART_SPAN}${HISTORY_SECONDS:+, $HISTORY_SECONDS s of history}$([ "${DASH:-0}" = 1 ] && echo ", dash open") (display $DISPLAY)"
for round in $(seq "$ROUNDS"); do
    measure_round "$FIGURES"
    load=$(cut -d' ' -f1-3 /proc/loadavg)
    print_figures "round $round" <(tail -n 1 "$FIGURES")
    echo "           (load average $load on $(nproc) cores)"
done
[ "$ROUNDS" -gt 1 ] && print_figures median "$FIGURES"
exit 0
