#!/usr/bin/env bash
# Soak run: the real program on a virtual X server polls the controller simulator for a long
# time with a data log open, while the simulator goes round and round: normal replies, stray
# bytes behind each reply, replies split into pieces, silence, and unplugging followed by the
# device's return under the same name. The first steps are played as a user would ("Log
# Start", Setup > Com Port, "Open"); after that nobody touches the program. At the end it is
# ended with SIGTERM and the script checks and prints:
#   - the log against the live readings the program decoded: one whole line per decoded
#     reading (none lost, none torn), each reading once and in order (none duplicated), and
#     each one a reply the simulator's record shows written whole;
#   - open descriptors and threads once the port is closed, against their count before the
#     first open;
#   - resident memory growth after the first minute (goal < 2 MB);
#   - message boxes raised (goal: none);
#   - the longest stall of the user-interface thread, and the reconnects.
#
# With SOAK_RENUMBER=1 the simulator behaves like a USB adapter that is re-enumerated: after
# each unplugging it comes back under a new /dev/pts number, with its by-path link (in a folder
# the program is pointed at through UEGO4100_DEVICE_LINKS) leading to the new one; the script
# then also checks that the line did come back under other numbers.
#
# Usage: bash bench/soak.sh [SECONDS]       (default 600, or $SOAK_SECONDS)
#        SKIP_BUILD=1 BUILD_DIR=build XVFB_DISPLAY=42 KEEP_RUN_DIR=1 bash bench/soak.sh 60
#        SOAK_RENUMBER=1 bash bench/soak.sh
# The program writes its own figures only because UEGO4100_DIAGNOSTICS names a file here.
# Exit status: 0 when every check holds, 1 otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/run.sh         # the window steps and the cleanup of PIDS
source bench/measure_steps.sh # the build and the process figures

DURATION=${1:-${SOAK_SECONDS:-600}}
build_targets uego4100 wbx4100-sim
PROGRAM="$BUILD_DIR/app/uego4100"
SIMULATOR="$BUILD_DIR/sim/wbx4100-sim"

private_runtime_dir soak
RUN_DIR=$XDG_RUNTIME_DIR
LOG="$RUN_DIR/soak-log.txt"
RECORD="$RUN_DIR/record.txt"
DIAGNOSTICS="$RUN_DIR/diagnostics.txt"
PIDS=()
finish() {
    cleanup
    if [ "${KEEP_RUN_DIR:-0}" = 1 ]; then
        echo "run folder kept: $RUN_DIR"
    else
        rm -rf "$RUN_DIR"
    fi
}
trap finish EXIT

start_virtual_display

VOLTS=12.5
RENUMBER_OPTIONS=()
if [ "${SOAK_RENUMBER:-0}" = 1 ]; then
    mkdir -m 700 -p "$RUN_DIR/links"
    RENUMBER_OPTIONS=(--renumber --link-dir "$RUN_DIR/links")
    export UEGO4100_DEVICE_LINKS="$RUN_DIR/links"
fi
sim_started=$(date +%s.%N)
"$SIMULATOR" --port 1 --port-dir "$PORT_DIR" --numbered --warmup 0 --volts "$VOLTS" --cycle \
    "${RENUMBER_OPTIONS[@]}" --record "$RECORD" >"$RUN_DIR/sim.log" 2>&1 &
SIM=$!
PIDS+=("$SIM")
wait_published "$PORT_DIR/COM1"

app_started=$(date +%s.%N)
LC_ALL=C.UTF-8 UEGO4100_DIAGNOSTICS="$DIAGNOSTICS" "$PROGRAM" >"$RUN_DIR/program.log" 2>&1 &
APP=$!
PIDS+=("$APP")

# "Log Start" (18, 203, 75 x 25 in the client area, below the menu bar), then the file name.
main=$(wait_window "UEGO 4100 Interface")
sleep 0.5
menu_height=$(($(xdotool getwindowgeometry "$main" | awk '/Geometry/ { split($2, s, "x"); print s[2] }') - 448))
click_at "$main" 55 $((menu_height + 215))
wait_window "Save As" >/dev/null
sleep 0.3
xdotool type --delay 10 "$LOG"
xdotool key Return
for _ in $(seq 50); do
    [ -s "$LOG" ] && break
    sleep 0.1
done
[ -s "$LOG" ] || { echo "the log did not start" >&2; exit 1; }
sleep 0.5

thread_names() { cat /proc/"$1"/task/*/comm 2>/dev/null | grep -v '^Thread (pooled)$' | sort; }
# The file dialog leaves a worker of the toolkit's thread pool behind, with descriptors of its
# own; it ends after half a minute idle. The counts before the first open are taken after it.
for _ in $(seq 450); do
    grep -qx 'Thread (pooled)' /proc/"$APP"/task/*/comm 2>/dev/null || break
    sleep 0.1
done
descriptor_targets() { for fd in /proc/"$1"/fd/*; do readlink "$fd" || true; done | sort; }
descriptors_before=$(descriptor_targets "$APP")
threads_before=$(thread_names "$APP")

open_port_steps
xdotool mousemove 1000 700
if [ "$DURATION" -ge 120 ]; then
    rss_mark=60
else
    rss_mark=$((DURATION / 2))
fi
echo "soak: $DURATION s against the simulator's round (display $DISPLAY)"
rss_at_mark=0
for second in $(seq "$DURATION"); do
    sleep 1
    kill -0 "$APP" 2>/dev/null || { echo "the program ended during the soak" >&2; exit 1; }
    [ "$second" -eq "$rss_mark" ] && rss_at_mark=$(rss_kb "$APP")
    if [ $((second % 60)) -eq 0 ]; then
        echo "  ${second} s: $(($(wc -l <"$LOG") - 1)) log lines, resident $(rss_kb "$APP") kB"
    fi
done
rss_end=$(rss_kb "$APP")

kill -TERM "$APP"
ended=0
for _ in $(seq 100); do
    kill -0 "$APP" 2>/dev/null || { ended=1; break; }
    sleep 0.1
done
wait "$APP" 2>/dev/null && app_status=0 || app_status=$?
kill -TERM "$SIM" 2>/dev/null || true
wait "$SIM" 2>/dev/null || true

figure() { awk -v k="$1" '$1 == k { print $2; found = 1 } END { if (!found) print -1 }' "$DIAGNOSTICS"; }
decoded=$(figure decoded)
boxes=$(figure message_boxes)
stall=$(figure longest_stall_ms)
# Where the longest stall fell in the simulator's round (its record counts from its start).
stall_phase=$(awk -v at="$(figure longest_stall_at_s)" -v offset="$(awk -v a="$app_started" -v s="$sim_started" 'BEGIN { print a - s }')" '
    BEGIN { ms = (at + offset) * 1000 }
    $1 > ms { exit }
    $2 == "phase" { phase = $3 }
    $2 == "disconnect" || $2 == "reappear" { last = $2; lastAt = $1 }
    END { printf "%s phase", phase; if (last != "" && ms - lastAt < 2000) printf ", %.1f s after a %s", (ms - lastAt) / 1000, last }
' "$RECORD")
gone=$(figure status_device_gone)
reconnected=$(figure status_reconnected)
descriptors_after=$(awk '$1 == "descriptor" { sub(/^descriptor /, ""); print }' "$DIAGNOSTICS" | sort || true)
threads_after=$(awk '$1 == "thread" { sub(/^thread /, ""); print }' "$DIAGNOSTICS" |
    grep -v '^Thread (pooled)$' | sort || true)
# Unplugging counts from the program's first request on.
unplugged=$(awk '$2 == "request" { polled = 1 } polled && $2 == "disconnect" { n++ } END { print n + 0 }' "$RECORD")
reappeared=$(awk '$2 == "request" { polled = 1 } polled && $2 == "reappear" { n++ } END { print n + 0 }' "$RECORD")

# The log against the readings the program decoded (FILE.readings: thousandths and volts), and
# those against the record's whole live replies (c0 08 27 LL LH ..: lambda = LH * 256 + LL).
# A reply cut by a purge (a busy machine delays it past the next poll) leaves bytes that shift
# the next one; such a reading is decoded wrongly by design and counted apart as shifted.
read -r lines decoded_lines torn mismatched twice whole_decoded sent <<<"$(awk -v volts="$VOLTS" '
    function hex(text,    i, n) {
        n = 0
        for (i = 1; i <= length(text); i++) n = n * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
        return n
    }
    FILENAME == ARGV[1] {
        if ($2 == "reply" && $5 == "27") { whole[hex($7) * 256 + hex($6)] = 1; sent++ }
        next
    }
    FILENAME == ARGV[2] { decoded++; decodedRaw[decoded] = $1; decodedVolts[decoded] = $2; next }
    FNR == 1 { next } # the header
    {
        lines++
        if ($0 !~ /^[0-9]+(\.[0-9]+)?,[^,]+, [0-9]+\.[0-9]\r$/) { torn++; next }
        split($0, field, ",")
        sub(/^ /, "", field[3]); sub(/\r$/, "", field[3])
        if (int(field[1] * 1000 + 0.5) != decodedRaw[lines] || field[3] != decodedVolts[lines]) mismatched++
    }
    END {
        for (i = 1; i <= decoded; i++) {
            if (!(decodedRaw[i] in whole) || decodedVolts[i] != volts) continue
            matched++
            counted = decodedRaw[i] + wrap # the numbering starts again at 1 after 65535
            if (counted <= last - 30000) { wrap += 65535; counted += 65535 }
            if (counted <= last) twice++
            last = counted
        }
        printf "%d %d %d %d %d %d %d\n", lines, decoded, torn, mismatched, twice, matched, sent
    }
' "$RECORD" "$DIAGNOSTICS.readings" "$LOG")"

failed=0
check() { # check NAME CONDITION-TEXT RESULT(0 ok)
    if [ "$3" -eq 0 ]; then
        printf "  %-58s ok\n" "$1: $2"
    else
        printf "  %-58s FAILED\n" "$1: $2"
        failed=1
    fi
}
rss_growth=$((rss_end - rss_at_mark))
echo "results"
check "log lines" "$lines lines, $decoded readings decoded" \
    $([ "$lines" -eq "$decoded" ] && [ "$decoded_lines" -eq "$decoded" ] && echo 0 || echo 1)
check "torn or malformed lines" "$torn" $([ "$torn" -eq 0 ] && echo 0 || echo 1)
check "lines unlike their decoded reading (lost, doubled)" "$mismatched" $([ "$mismatched" -eq 0 ] && echo 0 || echo 1)
check "replies decoded twice or out of order" "$twice" $([ "$twice" -eq 0 ] && echo 0 || echo 1)
check "descriptors" "$(echo "$descriptors_before" | grep -c .) before the first open, $(echo "$descriptors_after" | grep -c .) after closing" \
    $([ "$descriptors_before" = "$descriptors_after" ] && echo 0 || echo 1)
check "threads" "$(echo "$threads_before" | grep -c .) before the first open, $(echo "$threads_after" | grep -c .) after closing" \
    $([ "$threads_before" = "$threads_after" ] && echo 0 || echo 1)
check "resident memory growth after ${rss_mark} s" "$rss_growth kB ($rss_at_mark -> $rss_end kB)" \
    $([ "$rss_growth" -lt 2048 ] && echo 0 || echo 1)
check "message boxes raised" "$boxes" $([ "$boxes" -eq 0 ] && echo 0 || echo 1)
check "unplugged / seen gone / reconnected" "$unplugged / $gone / $reconnected" \
    $([ "$gone" -ge $((unplugged - 1)) ] && [ "$reconnected" -ge $((reappeared - 1)) ] && echo 0 || echo 1)
if [ "${SOAK_RENUMBER:-0}" = 1 ]; then
    lines_used=$(awk '$2 == "publish" { print $5 }' "$RECORD" | sort -u | wc -l)
    check "line numbers the controller came back under" "$lines_used" \
        $([ "$lines_used" -ge 2 ] || [ "$reappeared" -eq 0 ] && echo 0 || echo 1)
fi
check "ended on SIGTERM within 10 s" "exit status $app_status" \
    $([ "$ended" -eq 1 ] && [ "$app_status" -eq 0 ] && echo 0 || echo 1)
echo "  longest stall of the user-interface thread: $stall ms (in the $stall_phase)"
echo "  live replies written whole: $sent; decoded whole: $whole_decoded ($(awk -v d="$whole_decoded" -v s="$sent" 'BEGIN { printf "%.1f", s ? 100 * d / s : 0 }') %); decoded shifted: $((decoded - whole_decoded))"
if [ "$descriptors_before" != "$descriptors_after" ] || [ "$threads_before" != "$threads_after" ]; then
    echo "  descriptors and threads that differ (< before the first open, > after closing):"
    diff <(echo "$descriptors_before"; echo "$threads_before") \
        <(echo "$descriptors_after"; echo "$threads_after") | grep '^[<>]' | sed 's/^/    /' || true
fi
if [ "$boxes" -gt 0 ]; then
    grep '^message_box ' "$DIAGNOSTICS" | sort | uniq -c | head -5
fi
exit "$failed"
