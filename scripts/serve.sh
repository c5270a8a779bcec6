#!/usr/bin/env bash
# Builds zembrel-serve and starts it on loopback; the address it prints is the
# page. Options go to the server (--listen 127.0.0.1:8080, --threads N ...).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

echo "serve.sh: configuring (build/dev) ..." >&2
cmake --preset dev -S "$root" >/dev/null
echo "serve.sh: building zembrel-serve ..." >&2
cmake --build "$root/build/dev" --target zembrel-serve
exec "$root/build/dev/src/serve/zembrel-serve" "$@"
