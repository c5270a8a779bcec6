#!/usr/bin/env bash
# Drives the completion as bash does: COMP_WORDS and COMP_CWORD in, COMPREPLY out.
# Usage: completion.sh COMPLETION-FILE
set -uo pipefail
source "$1" || exit 1
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zembrel-completion.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" && mkdir pictures && touch list.txt na.png

failures=0
# expect "WORDS ON THE LINE" "EXPECTED REPLIES": the last word is the one being
# completed (empty after a trailing blank); replies are compared sorted.
expect() {
    local line=$1 want=$2
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _zembrel_render zembrel-render "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
    want=$(printf '%s\n' $want | sort | xargs)
    if [[ $got != "$want" ]]; then
        echo "FAIL: '$line' completes to '$got', expected '$want'" >&2
        failures=$((failures + 1))
    fi
}

expect 'zembrel-render --for' '--format --formula'
expect 'zembrel-render --na' '--name'
expect 'zembrel-render --name ' ''
expect 'zembrel-render --out' '--output --output-dir'
expect 'zembrel-render -q' '-q'
expect 'zembrel-render Na --dots 1 --tr' '--transparent'
expect 'zembrel-render --format ' 'bmp png svg'
expect 'zembrel-render --format p' 'png'
expect 'zembrel-render --format = s' 'svg'
expect 'zembrel-render --dots ' '0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15'
expect 'zembrel-render --dots 1' '1 10 11 12 13 14 15'
expect 'zembrel-render --dots 1,' '1,0 1,2 1,3 1,4 1,5 1,6 1,7 1,8 1,9 1,10 1,11 1,12 1,13 1,14 1,15'
expect 'zembrel-render --dots 1,7,1' '1,7,10 1,7,11 1,7,12 1,7,13 1,7,14 1,7,15'
expect 'zembrel-render --scale ' '1 2 3 4 5 6 7 8'
expect 'zembrel-render --radius 2' '2 2.5'
expect 'zembrel-render N -o n' 'na.png'
expect 'zembrel-render N --output ' 'list.txt na.png pictures'
expect 'zembrel-render --batch l' 'list.txt'
expect 'zembrel-render --batch list.txt --output-dir ' 'pictures'
expect 'zembrel-render --style d' 'dots dot-cross'
expect 'zembrel-render --sh' '--sheet --shells'
expect 'zembrel-render --page ' 'a4 letter'
expect 'zembrel-render --marks O=c' 'O=cross'
expect 'zembrel-render --marks O = c' 'cross'
expect 'zembrel-render --marks O =' 'dot cross ring square triangle'
expect 'zembrel-render --marks ' ''
expect 'zembrel-render --smiles O --marks O = cross,H = t' 'triangle'
expect 'zembrel-render --marks O=cross,H=' 'O=cross,H=dot O=cross,H=cross O=cross,H=ring O=cross,H=square O=cross,H=triangle'
expect 'zembrel-render N' ''

((failures == 0)) && echo "every completion as expected"
exit $((failures > 0))
