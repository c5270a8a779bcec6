#!/usr/bin/env bash
# Redraws docs/molecules.png, the README's picture of the molecules window: the
# window on a private Xvfb with a name typed and the dots style chosen.
#
# usage: docs/molecules.sh [build-dir] [en|ru|styles] [picture]
#        (defaults: build/dev, built if needed; en; docs/molecules.png, or
#        docs/molecules-ru.png for ru). "styles" makes
#        docs/molecules-<style>.png: water in Lewis, bars, dot and cross
#        with shells, and its shape.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/dev}
language=${2:-en}
case $language in
en) name='nitrate' default=$root/docs/molecules.png locale=C.UTF-8 dots=alt+d ;;
ru) name='нитрат' default=$root/docs/molecules-ru.png locale=ru_RU.UTF-8 dots=alt+Cyrillic_te ;;
styles)
    for look in lewis:alt+l bars:alt+b dot-cross:"alt+o alt+h" shape:alt+m; do
        "$0" "$build" "style:${look#*:}" "$root/docs/molecules-${look%%:*}.png"
    done
    exit
    ;;
style:*) name='water' default= locale=C.UTF-8 dots=${language#style:} ;;
*) echo "molecules.sh: the language is en, ru or styles" >&2; exit 2 ;;
esac
picture=${3:-$default}

if [[ ${4:-} != --on-display ]]; then
    program=$build/src/molecules-app/zembrel-molecules
    [[ -x $program ]] || { cmake --preset dev -S "$root" >/dev/null && cmake --build "$build" --target zembrel-molecules >/dev/null; }
    # The tests' own wrapper gives this script a display of its own.
    exec "$root/tests/e2e/run-under-xvfb.sh" "$0" "$build" "$language" "$picture" --on-display
fi
[[ -n ${DISPLAY:-} ]] || { echo "molecules.sh: needs Xvfb" >&2; exit 1; }

# xdotool reads the typed text as UTF-8; the window speaks the chosen language.
export LC_ALL=C.UTF-8
LC_ALL=$locale "$build/src/molecules-app/zembrel-molecules" &
window=$!
trap 'kill "$window" 2>/dev/null; wait "$window" 2>/dev/null' EXIT
id=$(xdotool search --sync --onlyvisible --pid "$window" | head -n1)
xdotool windowfocus --sync "$id"
xdotool type --delay 120 "$name"
# shellcheck disable=SC2086 # a look may be several keys
xdotool sleep 0.3 key Escape $dots mousemove 0 0 sleep 0.5
import -window "$id" "$picture"
kill "$window"
wait "$window" 2>/dev/null || true
trap - EXIT
echo "$picture: $(identify -format '%wx%h' "$picture")"
