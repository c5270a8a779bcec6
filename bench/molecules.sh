#!/usr/bin/env bash
# Batch benchmark of zembrel-render's molecules: the 1,000 molecules and ions of bench/molecules.txt
# (up to 20 heavy atoms) drawn as one --batch run to SVG and as one to PNG, in the textbook layout
# and, as the baseline beside it, in the toolkit's depiction, repeated in turn; prints the medians.
# Slowness never fails the run, only breakage does (a missing picture, a failed run).
#
# usage: bench/molecules.sh [--lines N] [--repetitions N] [--build-dir DIR] [--no-build]
#   --lines N           the first N molecules of the list (default all)
#   --repetitions N     measured repetitions of each format (default 5)
#   --build-dir DIR     build there (configured as Release if new) instead of the ci preset
#   --no-build          take the renderer already built in the build dir
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
lines=
# shellcheck source=bench/renderer-options.sh
source "$root/bench/renderer-options.sh"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/zembrel-molecules.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

# One batch line a molecule, quoted for the batch's shell-like words.
n=0
while IFS= read -r smiles && { [[ -z $lines ]] || ((n < lines)); }; do
    [[ -z $smiles || $smiles == \#* ]] && continue
    printf -- "--smiles '%s' -o m%d\n" "$smiles" "$n"
    n=$((n + 1))
done <"$root/bench/molecules.txt" >"$tmp/list.txt"

run() { # format layout
    rm -rf "$tmp/out"
    mkdir "$tmp/out"
    local start=$(now)
    "$render" --batch "$tmp/list.txt" --format "$1" --layout "$2" --output-dir "$tmp/out" 2>"$tmp/errors" ||
        { cat "$tmp/errors" >&2; exit 1; }
    echo $((($(now) - start) / 1000))
    local made
    made=$(find "$tmp/out" -type f -size +0 | wc -l)
    ((made == n)) || { echo "molecules.sh: the $1 batch made $made pictures of $n" >&2; exit 1; }
}

run svg textbook >/dev/null # warm-up: caches, fonts
declare -A us
for ((r = 1; r <= repetitions; r++)); do
    line="repetition $r:"
    for layout in textbook depiction; do
        for format in svg png; do
            t=$(run $format $layout)
            us[$layout-$format]+="$t "
            line+=" $layout ${format^^} $t µs,"
        done
    done
    echo "${line%,}" >&2
done

printf '%d molecules and ions, one --batch run each, medians of the repetitions\n' "$n"
for layout in textbook depiction; do
    for format in svg png; do
        m=$(printf '%s\n' ${us[$layout-$format]} | median)
        awk -v m="$m" -v n="$n" -v what="$layout ${format^^}" 'BEGIN {
            printf "  %-15s %9.1f ms  (%.3f ms a picture)\n", what ":", m / 1000, m / 1000 / n }'
    done
done
