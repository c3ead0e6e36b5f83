#!/usr/bin/env bash
# Renders a plug-in in Ardour 7, headless: scan, a MIDI track with notes, export, a parameter and the mode
# changed, save, reopen, export again; then checks both renders. Usage: ardour_test.sh PLUGIN.so NAME
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
plugin=$1
name=$2

for tool in ardour7-lua /usr/lib/ardour7/ardour-vst-scanner python3; do
    command -v "$tool" >/dev/null || { echo "missing $tool (scripts/setup.sh installs it)"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home LXVST_PATH=$work/home/.vst
mkdir -p "$HOME/.vst" "$HOME/.config/ardour7/scripts" "$work/out"
cp "$plugin" "$HOME/.vst/"
cp "$here/pulsaret_test_notes.lua" "$HOME/.config/ardour7/scripts/"
# Ardour skips a plug-in that is not older than its cache entry (whole seconds).
touch -d '-1 min' "$HOME/.vst/$(basename "$plugin")"

scan=$(LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst-scanner -f "$HOME/.vst/$(basename "$plugin")" 2>&1)
echo "$scan"
echo "$scan" | grep -q "Found Plugin: .* $name\$" || { echo "the scanner did not find $name"; exit 1; }

export PULSARET_SESSION_DIR=$work/session PULSARET_OUT_DIR=$work/out PULSARET_PLUGIN_NAME=$name
export PULSARET_PARAM_INDEX=${PULSARET_PARAM_INDEX:-2} PULSARET_PARAM_VALUE=${PULSARET_PARAM_VALUE:-0.05}

run_step() {
    # On a loaded machine ardour7-lua itself often aborts while it sets up a new track's ports (it does so
    # with no plug-in of ours as well); every step can simply run again.
    for attempt in 1 2 3 4 5 6 7 8; do
        [ "$1" = create ] && rm -rf "$PULSARET_SESSION_DIR"
        if PULSARET_STEP=$1 timeout 120 ardour7-lua "$here/session.lua" >"$work/$1.log" 2>&1; then
            grep -v "Ignored format" "$work/$1.log" || true
            return 0
        fi
        echo "ardour7-lua step $1, attempt $attempt failed:"
        grep -v "Ignored format" "$work/$1.log" || true
    done
    return 1
}

run_step create
grep -q '^saved$' "$work/create.log" || { echo "the session was not saved"; exit 1; }
run_step reopen
python3 "$here/analyse.py" "$work/out/first.wav" "$work/out/reopened.wav"
