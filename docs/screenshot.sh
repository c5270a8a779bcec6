#!/usr/bin/env bash
# Redraws docs/zembrel.png, the README's picture of the window: the tool on a
# private Xvfb with a formula typed and a few dots set, then cancelled.
#
# usage: docs/screenshot.sh [build-dir]   (default build/dev, built if needed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/dev}
[[ -x $build/src/app/zembrel ]] || { cmake --preset dev -S "$root" >/dev/null && cmake --build "$build" >/dev/null; }

fifo=$(mktemp -u) && mkfifo "$fifo"
Xvfb -displayfd 5 -screen 0 640x480x24 -nolisten tcp 5>"$fifo" 2>/dev/null &
xvfb=$!
read -r -t 20 display <"$fifo"; rm -f "$fifo"
work=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=:$display LC_ALL=C.UTF-8

"$build/src/app/zembrel" "$work/formula.bmp" &
tool=$!
window=$(xdotool search --sync --onlyvisible --pid "$tool" | head -n1)
xdotool windowfocus --sync "$window" key N key a
# Dot buttons at their top-left corners: the left pair, the upper pair, the right pair.
for at in "32 72" "32 104" "104 32" "136 32" "192 72" "192 104"; do
    read -r x y <<<"$at"
    xdotool mousemove --window "$window" $((x + 14)) $((y + 15)) click 1
done
xdotool mousemove 0 0 sleep 0.3
import -window "$window" "$root/docs/zembrel.png"
xdotool key Escape
wait "$tool"
echo "docs/zembrel.png: $(identify -format '%wx%h' "$root/docs/zembrel.png")"
