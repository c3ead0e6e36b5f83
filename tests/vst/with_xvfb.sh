#!/usr/bin/env bash
# Runs a command with a private Xvfb display and openbox on it (bare Xvfb lacks what JUCE's windows need).
# The command sees the display in DISPLAY and PULSARET_EDITOR_DISPLAY.
set -euo pipefail

for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { display=":$n"; break; }
done

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wm=""
cleanup() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap cleanup EXIT

for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
done

DISPLAY="$display" openbox >/dev/null 2>&1 &
wm=$!
sleep 1

DISPLAY="$display" PULSARET_EDITOR_DISPLAY="$display" "$@"
