#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test; then builds it
# all again with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer
# and runs every test once more, the real binary's runs included.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
cd "$root"

cmake --preset ci
cmake --build --preset ci
ctest --preset ci

cmake --preset asan
cmake --build --preset asan
ctest --preset asan
