#!/usr/bin/env bash
# Redraws the README's gallery: water, ammonium, carbon dioxide and nitrate in
# each style, as zembrel-render makes them (docs/gallery/<species>-<style>.png).
#
# usage: docs/gallery.sh [build-dir]   (default build/dev, built if needed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/dev}
render=$build/src/render/zembrel-render
[[ -x $render ]] || { cmake --preset dev -S "$root" >/dev/null && cmake --build "$build" --target zembrel-render >/dev/null; }

out=$root/docs/gallery
mkdir -p "$out"
species=(water:O ammonium:'[NH4+]' carbon-dioxide:O=C=O nitrate:'[O-][N+](=O)[O-]')
styles=(lewis dots bars)
list=$(mktemp)
trap 'rm -f "$list"' EXIT
for entry in "${species[@]}"; do
    for style in "${styles[@]}"; do
        printf -- "--smiles '%s' --style %s -o %s-%s.png\n" "${entry#*:}" "$style" "${entry%%:*}" "$style"
    done
done >"$list"
"$render" --batch "$list" --scale 2 --output-dir "$out"
echo "docs/gallery: $(wc -l <"$list") pictures"
