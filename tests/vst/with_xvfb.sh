#!/usr/bin/env bash
# Runs a command with a private Xvfb display and openbox on it (bare Xvfb lacks what JUCE's windows need).
# The command sees the display in DISPLAY and PULSARET_EDITOR_DISPLAY. The server picks a free display
# number itself, so tests run in parallel never share one.
set -euo pipefail

number_file=$(mktemp)
xvfb=""
wm=""
cleanup() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -f "$number_file"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
xvfb=$!

for _ in $(seq 1 100); do
    [ -n "$(tr -dc '0-9' <"$number_file")" ] && grep -q $'\n' "$number_file" && break
    sleep 0.1
done

number=$(tr -dc '0-9' <"$number_file")
if [ -z "$number" ]; then
    echo "Xvfb did not start" >&2
    exit 1
fi
display=":$number"

DISPLAY="$display" openbox >/dev/null 2>&1 &
wm=$!
sleep 1

DISPLAY="$display" PULSARET_EDITOR_DISPLAY="$display" "$@"
