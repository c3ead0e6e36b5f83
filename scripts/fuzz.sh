#!/usr/bin/env bash
# Runs a libFuzzer campaign on every reader's fuzz target at once, SECONDS each (default 300), built
# with clang, AddressSanitizer and UndefinedBehaviorSanitizer in build-fuzz/. Each target works on its
# own copy of its seed corpus and committed regressions (build-fuzz/campaign/<target>/corpus). A crash,
# a leak, undefined behaviour, a broken oracle or an input that runs longer than a second stops that
# target and is saved as a file in build-fuzz/campaign/<target>/found/, which the summary names.
# PULSARET_FUZZ_JOBS limits how many targets run at a time (they then run in waves).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-300}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
    echo "usage: $0 [SECONDS]" >&2
    exit 2
fi

targets=(preset preset_bank pattern pattern_bank drum_map midi_map settings state_chunk program_chunk)
jobs=${PULSARET_FUZZ_JOBS:-${#targets[@]}}

bash scripts/setup.sh

build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPULSARET_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

campaign=$PWD/$build/campaign
rm -rf "$campaign"

# JUCE's file streams sync each file they write to the disk; the targets' files go to memory where it can.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1

run_target() {
    local target=$1 folder=$campaign/$1
    mkdir -p "$folder/corpus" "$folder/found"
    cp tests/fuzz/corpus/"$target"/* "$folder/corpus/"
    if [ -d tests/fuzz/regressions/"$target" ]; then
        cp tests/fuzz/regressions/"$target"/* "$folder/corpus/"
    fi
    (cd "$folder" && "$OLDPWD/$build/tests/fuzz/fuzz_$target" -timeout=1 -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$folder/found/" "$folder/corpus" >"$folder/log" 2>&1) || true
}

running=0
for target in "${targets[@]}"; do
    run_target "$target" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait -n || true
        running=$((running - 1))
    fi
done
wait

failed=0
printf '%-14s %12s %8s  %s\n' target executions exec/s found
for target in "${targets[@]}"; do
    folder=$campaign/$target
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$folder/log" | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$folder/log" | tail -n 1)
    found=$(find "$folder/found" -type f | sort | tr '\n' ' ')
    if [ -n "$found" ] || [ -z "$executions" ]; then
        failed=1
    fi
    printf '%-14s %12s %8s  %s\n' "$target" "${executions:-?}" "${rate:-?}" "${found:-none}"
done

if [ "$failed" -ne 0 ]; then
    echo "The campaign found something (or a target did not finish): see $campaign/<target>/log" >&2
    exit 1
fi
