#!/usr/bin/env bash
# Instructions per live reading, counted by valgrind's callgrind: the program and the minimal
# poller (bench/minimal_poller.cpp) each run under it against a simulator of their own on one
# virtual display, and once both poll steadily their counting runs for the same seconds.
# Unlike a CPU share, the count hardly moves with the machine's load, so it shows what a change
# to the per-reading path saves. Only user-space instructions count, of all threads.
#
# Usage: bash bench/instructions_per_reading.sh [SECONDS]   (counting time, default 20)
#        CHART_SPAN="1 min"    the program's chart open on that span
#        HISTORY_SECONDS=3600  the chart's history filled first (app/BenchHistory.h)
#        PROFILES=DIR          keeps the two callgrind files there, for callgrind_annotate
#        SKIP_BUILD=1 BUILD_DIR=build XVFB_DISPLAY=42
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/run.sh         # the window steps and the cleanup of PIDS
source bench/measure_steps.sh # the build, the program steps

SECONDS_TO_COUNT=${1:-20}
build_targets uego4100 wbx4100-sim bench_minimal_poller
PROGRAM="$BUILD_DIR/app/uego4100"
SIMULATOR="$BUILD_DIR/sim/wbx4100-sim"
POLLER="$BUILD_DIR/bench/bench_minimal_poller"
PROFILES=${PROFILES:-}
XVFB_SCREEN=1400x1100x24

PIDS=()
RUN_DIRS=()
trap 'cleanup; rm -rf "${RUN_DIRS[@]}"' EXIT
start_virtual_display
profile_dir=${PROFILES:-$(mktemp -d /tmp/uego-callgrind-XXXXXX)}
[ -n "$PROFILES" ] || RUN_DIRS+=("$profile_dir")
mkdir -p "$profile_dir"

# Counting starts switched off and is switched on and off from outside.
callgrind() { echo "valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file=$profile_dir/$1.callgrind"; }

start_simulator_in_own_folder program
program_dir=$SIM_DIR
start_simulator_in_own_folder poller
poller_dir=$SIM_DIR
PROGRAM_WRAPPER=$(callgrind program) start_program "$program_dir" "${CHART_SPAN:-}" 0 0
program=$STARTED
PROGRAM_WRAPPER=$(callgrind poller) start_poller "$poller_dir" 600 600
poller=$STARTED
xdotool mousemove 1390 1090
sleep 5 # past start-up work, which is slow under the tool

callgrind_control -i on "$program" "$poller" >/dev/null 2>&1
sleep "$SECONDS_TO_COUNT"
callgrind_control -i off "$program" "$poller" >/dev/null 2>&1
# The files are written as the programs end.
for pid in "$program" "$poller"; do
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null || true
done

# Total instructions (the summary line) and the calls made to the function named $2, from the
# callgrind file $1, whose names are compressed: "fn=(12) name" once, "(12)" after that.
instructions_and_calls() {
    awk -v wanted="$2" '
        function resolve(text,    id) {
            if (match(text, /^\([0-9]+\)/)) {
                id = substr(text, 1, RLENGTH)
                if (length(text) > RLENGTH) names[id] = substr(text, RLENGTH + 2)
                return names[id]
            }
            return text
        }
        /^totals:/ { total = $2 }
        /^c?fn=/ { name = resolve(substr($0, index($0, "=") + 1)); if ($0 ~ /^cfn=/) callee = name; next }
        /^calls=/ { if (callee == wanted) { split(substr($0, 7), c, " "); calls += c[1] } }
        END { printf "%d %d\n", total, calls }
    ' "$1"
}
read -r program_ir program_readings <<<"$(instructions_and_calls "$profile_dir/program.callgrind" "TForm1::LiveDataReply()")"
read -r poller_ir poller_readings <<<"$(instructions_and_calls "$profile_dir/poller.callgrind" "QLabel::setText(QString const&)")"

echo "instructions per live reading over $SECONDS_TO_COUNT s${CHART_SPAN:+, chart open on $CHART_SPAN}${HISTORY_SECONDS:+, $HISTORY_SECONDS s of history}"
awk -v pi="$program_ir" -v pr="$program_readings" -v mi="$poller_ir" -v mr="$poller_readings" 'BEGIN {
    printf "  program          %10.0f  (%d readings)\n", pr ? pi / pr : 0, pr
    printf "  minimal poller   %10.0f  (%d readings)\n", mr ? mi / mr : 0, mr
    if (pr && mr && mi) printf "  program / poller %10.2f x\n", (pi / pr) / (mi / mr)
}'
[ -n "$PROFILES" ] && echo "callgrind files: $profile_dir/program.callgrind, $profile_dir/poller.callgrind"
exit 0
