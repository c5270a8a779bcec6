#!/usr/bin/env bash
# Runs a test program on a private Xvfb display. Without Xvfb the program
# runs with no display and skips its cases, saying why.
set -u
if ! command -v Xvfb >/dev/null; then
    unset DISPLAY
    exec "$@"
fi

fifo=$(mktemp -u)
mkfifo "$fifo"
# -noreset: the tests leave it without clients for moments between runs, and a
# reset then would refuse the next run its display.
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$fifo" 2>/dev/null &
xvfb=$!
read -r -t 20 display <"$fifo"
rm -f "$fifo"
if [[ -z ${display:-} ]]; then
    echo "Xvfb did not start" >&2
    kill "$xvfb" 2>/dev/null
    exit 1
fi
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null' EXIT
DISPLAY=:$display "$@"
