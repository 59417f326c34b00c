#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# (in build-fuzz) and runs each for the given seconds, one after the other.
# Usage: bash scripts/fuzz.sh [seconds per target, default 60] [target ...]
#   targets: numedit_parse numeric_picture request_parser data_log log_readers (default: all)
# Each target starts from its seed corpus and kept regression inputs, plus what earlier runs
# found (build-fuzz/corpus/<target>). An input that crashes or breaks an invariant is saved
# as build-fuzz/crashes/<target>/crash-*; the script then fails. Keep such an input: copy it
# into fuzz/regressions/<target>/ with a name that says what it broke, so the ordinary test
# run replays it (CTest label "fuzz").
# With FUZZ_COVERAGE=1 the script then replays each corpus in a coverage build
# (build-fuzz-coverage) and prints the line and branch coverage of the code under test.
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_PER_TARGET=${1:-60}
shift || true
TARGETS=("$@")
if [ ${#TARGETS[@]} -eq 0 ]; then
    TARGETS=(numedit_parse numeric_picture request_parser data_log log_readers)
fi
BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}

# The product files each target exercises.
sources() {
    case "$1" in
    numedit_parse)
        echo widgets/AbNumEditParse.cpp widgets/AbNumEditBase.cpp widgets/AbNumEditText.cpp \
            format/NumberParsing.cpp
        ;;
    numeric_picture)
        echo format/NumericPicture.cpp format/PictureSection.cpp format/PictureQuoting.cpp \
            format/DecimalRounding.cpp format/NumberText.cpp
        ;;
    data_log) echo datalog/LogReader.cpp ;;
    log_readers) echo datalog/MslReader.cpp datalog/CsvReader.cpp datalog/LineFeeder.cpp ;;
    *) echo sim/RequestParser.cpp sim/Controller.cpp ;;
    esac
}

# Longest input per target: a field's text, a picture, a stretch of the line.
max_len() {
    case "$1" in
    numedit_parse) echo 256 ;;
    numeric_picture) echo 512 ;;
    *) echo 4096 ;;
    esac
}

# Replays each corpus in a coverage build and prints the coverage of the code under test.
coverage() {
    local cov="$BUILD_DIR-coverage"
    # The LLVM tools of the clang in use (llvm-14, which clang-14 brings along).
    local llvm
    llvm=$(dirname "$(readlink -f "$(command -v clang)")")
    CC=clang CXX=clang++ cmake -S . -B "$cov" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DUEGO_BENCH=OFF \
        -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping" >/dev/null
    cmake --build "$cov" --target "${TARGETS[@]/#/fuzz_replay_}" >/dev/null
    for target in "${TARGETS[@]}"; do
        local program="$cov/fuzz/fuzz_replay_$target"
        LLVM_PROFILE_FILE="$cov/$target.profraw" "$program" "$BUILD_DIR/corpus/$target" \
            "fuzz/corpus/$target" "fuzz/regressions/$target" >/dev/null 2>&1 || true
        "$llvm/llvm-profdata" merge -o "$cov/$target.profdata" "$cov/$target.profraw"
        echo "== $target: coverage of the code under test"
        local files
        files=$(sources "$target" | tr ' ' '|')
        "$llvm/llvm-cov" report "$program" -instr-profile="$cov/$target.profdata" \
            -show-region-summary=false -show-instantiation-summary=false |
            grep -E "^(Filename|$files) "
    done
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
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' \
        "$BUILD_DIR/fuzz-$target.log" || true
    echo "corpus: $(find "$corpus" -type f | wc -l) inputs"
done

if [ "${FUZZ_COVERAGE:-0}" = 1 ]; then
    coverage
fi

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]} (inputs in $BUILD_DIR/crashes/)" >&2
    exit 1
fi
