#!/usr/bin/env bash
# groff formats each page without a single warning, for print and for a terminal.
# Usage: man-pages.sh PAGE...
status=0
for page in "$@"; do
    for device in ps utf8; do
        if ! remarks=$(groff -man -ww -z -T"$device" "$page" 2>&1) || [[ -n $remarks ]]; then
            echo "FAIL: $page (-T$device): $remarks" >&2
            status=1
        fi
    done
done
exit $status
