#!/usr/bin/env bash
# Sets up the machine, builds Pulsaret and runs every test.
# PULSARET_SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

if [ "${PULSARET_SANITIZE:-0}" = "1" ]; then
    build=build-sanitize
    config=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DPULSARET_SANITIZE=ON)
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    build=build
    config=(-DCMAKE_BUILD_TYPE=Release)
fi

cmake -S . -B "$build" -G Ninja "${config[@]}"
cmake --build "$build" -j "$(nproc)"
# Tests on a display that needed a second run (tests/with_xvfb.sh) are listed after the run, pass or fail.
export PULSARET_RETRY_LOG="$PWD/$build/display-retries.log"
: >"$PULSARET_RETRY_LOG"
status=0
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" || status=$?
echo "Runs on a display that were retried: $(wc -l <"$PULSARET_RETRY_LOG")"
cat "$PULSARET_RETRY_LOG"
exit "$status"
