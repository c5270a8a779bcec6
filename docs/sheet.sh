#!/usr/bin/env bash
# Redraws the README's practice sheet: twelve species with their lone pairs
# and formal charges left for the student (docs/sheet.png, the first page)
# and the answers (docs/sheet-2.png), as zembrel-render --sheet makes them.
#
# usage: docs/sheet.sh [build-dir]   (default build/dev, built if needed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/dev}
render=$build/src/render/zembrel-render
[[ -x $render ]] || { cmake --preset dev -S "$root" >/dev/null && cmake --build "$build" --target zembrel-render >/dev/null; }

LC_ALL=C.UTF-8 "$render" --sheet "$root/docs/sheet.png" --batch - --blank lone-pairs,charges --answers \
    --title 'Lewis structures: draw in the lone pairs and the formal charges' <<'LIST'
--name water
--name ammonia
--name methane
--name 'carbon dioxide'
--name 'hydrogen cyanide'
--name ozone
--name ethanol
--name 'acetic acid'
--name ammonium
--name nitrate
--name carbonate
--name 'sulfuric acid'
LIST
echo "docs/sheet.png, docs/sheet-2.png"
