#!/usr/bin/env bash
# `cmake --install` into an empty prefix gives a complete, valid tree.
# Usage: install-tree.sh BUILD-DIR APP-ID MOLECULES-ID VERSION ICON-SIZE...
set -euo pipefail
build=$1
shift
prefix=$(mktemp -d "${TMPDIR:-/tmp}/zembrel-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
"$(dirname "$0")/check-tree.sh" "$prefix" "$@"
