#!/usr/bin/env bash
# Batch benchmark of zembrel-render. Makes the same list of PNG pictures two ways in each repetition: as
# one --batch run, and as one process a picture. Prints the medians, the ratio and the batch's pictures
# per second. Slowness never fails the run, only breakage does (a missing picture, a failed run).
#
# usage: bench/render.sh [--lines N] [--repetitions N] [--build-dir DIR] [--no-build]
#   --lines N           pictures in the list (default 1000)
#   --repetitions N     measured repetitions of both ways (default 5)
#   --build-dir DIR     build there (configured as Release if new) instead of the ci preset
#   --no-build          take the renderer already built in the build dir
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
lines=1000
# shellcheck source=bench/renderer-options.sh
source "$root/bench/renderer-options.sh"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/zembrel-render.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

# A worksheet's worth of formulas: Latin and Russian symbols, several dot sets and radii.
symbols=(H He Li N Na Mg Al Si Cl K Ca Fe Ж Щ Ве Ко)
dots=(1,7,9 0,1,2,8,9,10 3,4,11,12 5,6,13,14 7,15 0,2,5,6,8,10,13,14 "")
radii=(0.5 1 1.5 2 2.5 3 5 10)
list=$tmp/list.txt
for ((i = 0; i < lines; i++)); do
    line="${symbols[i % ${#symbols[@]}]} --radius ${radii[i % ${#radii[@]}]} -o $tmp/out/p$i.png"
    [[ -n ${dots[i % ${#dots[@]}]} ]] && line+=" --dots ${dots[i % ${#dots[@]}]}"
    echo "$line"
done >"$list"

fresh() { rm -rf "$tmp/out"; mkdir "$tmp/out"; }
made() {
    local n
    n=$(find "$tmp/out" -name '*.png' -size +0 | wc -l)
    ((n == lines)) || { echo "render.sh: $1 made $n pictures of $lines" >&2; exit 1; }
}
batch_run() {
    fresh
    local start=$(now)
    "$render" --batch "$list" 2>"$tmp/errors" || { cat "$tmp/errors" >&2; exit 1; }
    echo $((($(now) - start) / 1000))
    made "the batch"
}
separate_runs() {
    fresh
    local start=$(now) words
    while read -ra words; do
        "$render" "${words[@]}" 2>"$tmp/errors" || { cat "$tmp/errors" >&2; exit 1; }
    done <"$list"
    echo $((($(now) - start) / 1000))
    made "the separate runs"
}

batch_run >/dev/null # warm-up: caches, fonts
batch_us=() separate_us=()
for ((r = 1; r <= repetitions; r++)); do
    batch_us+=("$(batch_run)")
    separate_us+=("$(separate_runs)")
    echo "repetition $r: batch ${batch_us[-1]} µs, separate runs ${separate_us[-1]} µs" >&2
done

b=$(printf '%s\n' "${batch_us[@]}" | median)
s=$(printf '%s\n' "${separate_us[@]}" | median)
awk -v b="$b" -v s="$s" -v n="$lines" 'BEGIN {
    printf "%d PNG pictures, medians of the repetitions\n", n
    printf "  one --batch run:       %9.1f ms  (%.3f ms a picture, %.0f pictures/s)\n", b / 1000, b / 1000 / n, n / (b / 1e6)
    printf "  one process a picture: %9.1f ms  (%.2f ms a picture)\n", s / 1000, s / 1000 / n
    printf "  separate / batch:      %9.1f x\n", s / b
}'
