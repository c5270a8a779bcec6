#!/usr/bin/env bash
# Builds the tool (and zembrel-render beside it), starts it with a handshake path (./formula.bmp by default)
# and then tells what the calling program would find at that path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

# The window needs a display; say so before a minute of building, not after.
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "run.sh: no display (DISPLAY is not set), so the window cannot be shown." >&2
    echo "  Start it on a virtual display:  xvfb-run scripts/run.sh${1:+ $1}" >&2
    echo "  Or make pictures without a window:  build/dev/src/render/zembrel-render --help" >&2
    echo "  (built by: cmake --preset dev && cmake --build --preset dev --target zembrel-render)" >&2
    exit 1
fi

echo "run.sh: configuring (build/dev) ..." >&2
cmake --preset dev -S "$root" >/dev/null
echo "run.sh: building zembrel and zembrel-render ..." >&2
cmake --build "$root/build/dev" --target zembrel zembrel-render

path=${1:-./formula.bmp}
echo "run.sh: starting the tool with the handshake path $path" >&2
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
