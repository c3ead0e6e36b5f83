#!/usr/bin/env bash
# Renders Pulsaret in Ardour 7, headless: scan, a MIDI track with notes, export, a parameter changed through
# the host, save; then the start-up settings changed so that a fresh instance would run its own sequencer,
# the session reopened and exported again. Checks that both renders have the hits where the notes were and
# that the parameter and the mode came back from the session. Usage: ardour_test.sh Pulsaret.so
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
plugin=$1
name=Pulsaret

for tool in ardour7-lua /usr/lib/ardour7/ardour-vst-scanner python3; do
    command -v "$tool" >/dev/null || { echo "missing $tool (scripts/setup.sh installs it)"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home LXVST_PATH=$work/home/.vst
mkdir -p "$HOME/.vst" "$HOME/.config/ardour7/scripts" "$work/out"
cp "$plugin" "$HOME/.vst/Pulsaret.so"
cp "$here/pulsaret_notes.lua" "$HOME/.config/ardour7/scripts/"
# Ardour skips a plug-in that is not older than its cache entry (whole seconds).
touch -d '-1 min' "$HOME/.vst/Pulsaret.so"

# The settings beside the library: whether MIDI notes play the voices (internal sequencer off) or the
# sequencer plays them with the host's transport.
settings() {
    cat > "$HOME/.vst/Pulsaret.ini" <<SETTINGS
<?xml version="1.0" encoding="UTF-8"?>
<UserSettings application="Pulsaret">
  <InternalSequencer>
    <IntSeq state="$1"/>
    <IntSync state="off"/>
    <HostMode state="off"/>
    <NoteOff state="off"/>
    <HostPlayDetection type="byTransportChange"/>
  </InternalSequencer>
</UserSettings>
SETTINGS
}

settings off
scan=$(LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst-scanner -f "$HOME/.vst/Pulsaret.so" 2>&1)
echo "$scan"
echo "$scan" | grep -q "Found Plugin: .* $name\$" || { echo "the scanner did not find $name"; exit 1; }

# Bass Drum Decay, from its default 0.5 down to a short thud.
export PULSARET_SESSION_DIR=$work/session PULSARET_OUT_DIR=$work/out PULSARET_PLUGIN_NAME=$name
export PULSARET_PARAM_INDEX=10 PULSARET_PARAM_VALUE=0.05

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
grep -q '<IntSeq state="off"/>' "$HOME/.vst/Pulsaret.ini" || { echo "the instance did not keep its settings file"; exit 1; }
settings on
run_step reopen
grep -q '^parameter 10 after reopening: 0.0500$' "$work/reopen.log" || { echo "the parameter did not come back"; exit 1; }
python3 "$here/analyse.py" "$work/out/first.wav" "$work/out/reopened.wav"
