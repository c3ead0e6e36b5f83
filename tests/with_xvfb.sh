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

# Starts Xvfb on the first free number and openbox on it; false, with the reason in $failure, when the
# window manager never announced itself (a test then meets atoms that only a window manager creates)
# or manages no window.
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
        failure="Xvfb did not start"
        return 1
    fi

    DISPLAY="$display" openbox >/dev/null 2>&1 &
    wm=$!
    # It announces itself on the root window early in its start-up; on a loaded machine even that takes
    # a while.
    for _ in $(seq 1 300); do
        if DISPLAY="$display" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
            wm_manages && return 0
            return 1
        fi
        kill -0 "$wm" 2>/dev/null || break
        sleep 0.1
    done
    failure="the window manager did not start on $display"
    return 1
}

# Ready means it manages a window mapped now. A window mapped while it still starts up was seen to stay
# unmapped for good, so a probe window that is not in its client list within 2 s is replaced by a new
# one; once a probe is listed, it goes, and the list must be empty again.
wm_manages() {
    local probe
    for _ in $(seq 1 15); do
        DISPLAY="$display" xmessage -timeout 60 "with_xvfb.sh probe" >/dev/null 2>&1 &
        probe=$!
        for _ in $(seq 1 20); do
            if DISPLAY="$display" xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q "# 0x"; then
                kill "$probe" 2>/dev/null || true
                wait "$probe" 2>/dev/null || true
                for _ in $(seq 1 100); do
                    DISPLAY="$display" xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q "# 0x" || return 0
                    sleep 0.05
                done
                failure="the window manager on $display keeps a closed window"
                return 1
            fi
            kill -0 "$probe" 2>/dev/null || break
            sleep 0.1
        done
        kill "$probe" 2>/dev/null || true
        wait "$probe" 2>/dev/null || true
    done
    failure="the window manager on $display manages no window"
    return 1
}

# Says what was retried on stderr and, for scripts/test.sh to print after ctest (which hides the output
# of a test that passed), in PULSARET_RETRY_LOG.
note_retry() {
    echo "with_xvfb.sh: $1" >&2
    [ -n "${PULSARET_RETRY_LOG:-}" ] && echo "with_xvfb.sh: $1" >>"$PULSARET_RETRY_LOG"
    return 0
}

run_on_display() {
    failure=""
    if ! start_display; then
        note_retry "$failure; trying once more on a fresh display"
        stop_display
        if ! start_display; then
            echo "with_xvfb.sh: $failure" >&2
            return 1
        fi
    fi
    DISPLAY="$display" PULSARET_EDITOR_DISPLAY="$display" "$@"
}

# A run that fails is tried once more on a display of its own, and never in silence: every retry is a
# flake to find, and scripts/test.sh lists them after the tests.
run_on_display "$@" && exit 0
note_retry "the run failed; trying once more on a fresh display: $*"
stop_display
run_on_display "$@"
