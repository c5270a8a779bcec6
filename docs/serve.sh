#!/usr/bin/env bash
# Redraws the README's picture of the page (docs/serve.png): the browser test
# types "nitrate" with the dots style chosen and keeps Chromium's screenshot.
#
# usage: docs/serve.sh [build-dir]   (default build/dev, built if needed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/dev}
test=$build/tests/serve/tst_page
[[ -x $test ]] || { cmake --preset dev -S "$root" >/dev/null && cmake --build "$build" --target tst_page >/dev/null; }
ZEMBREL_PAGE_SHOT=$root/docs/serve.png "$test" 'typedInputIsDrawn:nitrate, dots' >/dev/null
