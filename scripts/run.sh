#!/usr/bin/env bash
# Builds the tool (and zembrel-render beside it), starts it with a handshake path (./formula.bmp by default)
# and then tells what the calling program would find at that path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

cmake --preset dev -S "$root" >/dev/null
cmake --build "$root/build/dev" --target zembrel zembrel-render >/dev/null

path=${1:-./formula.bmp}
status=0
"$root/build/dev/src/app/zembrel" "$path" || status=$?

if [[ ! -e $path ]]; then
    echo "no file"
elif [[ ! -s $path ]]; then
    echo "cancelled (empty file)"
else
    # BITMAPINFOHEADER: width and height are 32-bit little-endian at bytes 18 and 22.
    read -r width height < <(od -An -t d4 -j 18 -N 8 "$path")
    echo "picture ${width}×${height#-} px"
fi
exit "$status"
