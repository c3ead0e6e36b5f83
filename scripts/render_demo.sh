#!/usr/bin/env bash
# Renders a few factory patterns, played in host sync, with our offline host and the built plug-in.
# Usage: render_demo.sh BUILD_DIR OUT.wav
set -euo pipefail
build=$1
out=$2

if [ ! -f "$build/Pulsaret.so" ] || [ ! -x "$build/pulsaret-render" ]; then
    echo "$build/Pulsaret.so or $build/pulsaret-render is missing: build first" >&2
    exit 1
fi

# A private copy of the library, with settings beside it: patterns chosen by MIDI keys (host mode) and
# clocked by the host's tempo and transport.
demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
cp "$build/Pulsaret.so" "$demo/"
cat > "$demo/Pulsaret.ini" <<'SETTINGS'
<?xml version="1.0" encoding="UTF-8"?>
<UserSettings application="Pulsaret">
  <InternalSequencer>
    <IntSeq state="on"/>
    <IntSync state="off"/>
    <HostMode state="on"/>
    <NoteOff state="off"/>
    <HostPlayDetection type="byTransportChange"/>
  </InternalSequencer>
</UserSettings>
SETTINGS

# 120 BPM, the transport running throughout; keys 12, 13, 14 and 15 start factory patterns 1 to 4 of
# bank A, four bars each.
"$build/pulsaret-render" "$demo/Pulsaret.so" "$out" --rate 48000 --tempo 120 --beats 64 --play 0:64 \
    --note 0:12:100:15.9 --note 16:13:100:15.9 --note 32:14:100:15.9 --note 48:15:100:15.9
