#!/usr/bin/env bash
# Runs a command with a private Xvfb display and openbox on it (bare Xvfb lacks what JUCE's windows need).
# The command sees the display in DISPLAY and PULSARET_EDITOR_DISPLAY. Numbers start at 90, away from
# the :0 that JUCE falls back to without DISPLAY; a number another run takes at the same moment makes
# that Xvfb fail on its lock, and the next number is tried.
set -euo pipefail

ready_file=$(mktemp)
xvfb=""
wm=""
display=""
stop_display() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    wm=""
    xvfb=""
    display=""
}
cleanup() {
    stop_display
    rm -f "$ready_file"
}
trap cleanup EXIT

# Starts Xvfb on the first free number and openbox on it; false when the window manager never
# announced itself (a test then meets atoms that only a window manager creates).
start_display() {
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        : >"$ready_file"
        # Xvfb writes the number to fd 3 once it accepts connections.
        Xvfb ":$n" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ready_file" >/dev/null 2>&1 &
        xvfb=$!
        for _ in $(seq 1 100); do
            [ -s "$ready_file" ] && break
            kill -0 "$xvfb" 2>/dev/null || break
            sleep 0.1
        done
        if [ -s "$ready_file" ] && kill -0 "$xvfb" 2>/dev/null; then
            display=":$n"
            break
        fi
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
        xvfb=""
    done

    if [ -z "$display" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi

    DISPLAY="$display" openbox >/dev/null 2>&1 &
    wm=$!
    # Ready once it announces itself on the root window; on a loaded machine that takes a while, and a
    # window mapped meanwhile can wait long for it.
    for _ in $(seq 1 300); do
        DISPLAY="$display" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
        kill -0 "$wm" 2>/dev/null || break
        sleep 0.1
    done
    echo "with_xvfb.sh: the window manager did not start on $display" >&2
    return 1
}

# Windows on a loaded machine can be late in ways no test can wait out for sure: a run that fails is
# given one more try on a display and window manager of its own, so a real fault still fails twice.
if start_display; then
    DISPLAY="$display" PULSARET_EDITOR_DISPLAY="$display" "$@" && exit 0
    echo "with_xvfb.sh: the run failed; trying once more" >&2
fi
stop_display
start_display
DISPLAY="$display" PULSARET_EDITOR_DISPLAY="$display" "$@"
