#!/usr/bin/env bash
# Redraws docs/zembrel.png, the README's picture of the window: the tool on a
# private Xvfb with a formula typed and a few dots set, then cancelled.
#
# usage: docs/screenshot.sh [build-dir]   (default build/dev, built if needed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/dev}

if [[ ${2:-} != --on-display ]]; then
    [[ -x $build/src/app/zembrel ]] || { cmake --preset dev -S "$root" >/dev/null && cmake --build "$build" >/dev/null; }
    # The tests' own wrapper gives this script a display of its own.
    exec "$root/tests/e2e/run-under-xvfb.sh" "$0" "$build" --on-display
fi
[[ -n ${DISPLAY:-} ]] || { echo "screenshot.sh: needs Xvfb" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8
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
