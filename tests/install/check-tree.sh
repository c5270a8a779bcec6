#!/usr/bin/env bash
# Checks an installed tree (a prefix such as /usr): exactly the files a user
# needs, a desktop entry and metainfo both validators pass without a remark,
# every theme icon at its own size, manual pages groff formats without a
# warning, and a completion bash can load.
# Usage: check-tree.sh PREFIX APP-ID MOLECULES-ID VERSION ICON-SIZE...
# ZEMBREL_READER names the molecule reader module relative to PREFIX.
set -euo pipefail
prefix=$1 id=$2 molecules=$3 version=$4
shift 4
sizes=("$@")
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

expected=(
    bin/zembrel
    bin/zembrel-render
    bin/zembrel-molecules
    bin/zembrel-serve
    lib/systemd/system/zembrel-serve.service
    share/man/man1/zembrel.1
    share/man/man1/zembrel-render.1
    share/man/man1/zembrel-molecules.1
    share/man/man1/zembrel-serve.1
    share/bash-completion/completions/zembrel-render
    "$ZEMBREL_READER"
)
for app in "$id" "$molecules"; do
    expected+=(
        "share/applications/$app.desktop"
        "share/metainfo/$app.metainfo.xml"
        "share/icons/hicolor/scalable/apps/$app.svg"
    )
    for size in "${sizes[@]}"; do
        expected+=("share/icons/hicolor/${size}x${size}/apps/$app.png")
    done
done
if ! diff -u <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f -printf '%P\n' | sort); then
    fail "the installed files are not the expected ones (- expected, + found)"
fi

for program in zembrel zembrel-render zembrel-molecules; do
    [[ -x $prefix/bin/$program ]] || fail "bin/$program is not executable"
done
# The installed renderer finds its molecule reader beside it.
if ! head -c 8 < <(LC_ALL=C "$prefix/bin/zembrel-render" --smiles O -o - 2>"$prefix.errors") | grep -q PNG; then
    fail "the installed zembrel-render draws no molecule: $(cat "$prefix.errors")"
fi
rm -f "$prefix.errors"

# Hints count too: a clean entry prints nothing at all.
for app in "$id" "$molecules"; do
    desktop=$prefix/share/applications/$app.desktop
    if ! remarks=$(desktop-file-validate "$desktop" 2>&1) || [[ -n $remarks ]]; then
        fail "desktop-file-validate $app: $remarks"
    fi
    grep -qx "Icon=$app" "$desktop" || fail "the desktop entry's icon is not $app"
done
# The handshake tool is started by its calling program; the molecules window by a person, from the menus.
desktop=$prefix/share/applications/$id.desktop
grep -qx 'NoDisplay=true' "$desktop" || fail "the desktop entry is shown in menus"
grep -qx 'Exec=zembrel %f' "$desktop" || fail "the desktop entry does not start zembrel with one file"
desktop=$prefix/share/applications/$molecules.desktop
grep -q '^NoDisplay=true' "$desktop" && fail "the molecules entry is hidden from menus"
grep -qx 'Exec=zembrel-molecules' "$desktop" || fail "the molecules entry does not start zembrel-molecules"
grep -qx 'Categories=Education;Chemistry;' "$desktop" || fail "the molecules entry is not under Education and Chemistry"

# Errors, warnings and infos all count; only the pedantic notes are left out.
checks=("validate-tree --no-net $prefix")
for app in "$id" "$molecules"; do
    checks+=("validate --no-net $prefix/share/metainfo/$app.metainfo.xml")
done
for check in "${checks[@]}"; do
    # shellcheck disable=SC2086 # the words of each check
    if ! remarks=$(appstreamcli $check 2>&1) || grep -qE '^[EWI]: ' <<<"$remarks"; then
        fail "appstreamcli $check: $remarks"
    fi
done
for app in "$id" "$molecules"; do
    metainfo=$prefix/share/metainfo/$app.metainfo.xml
    newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n1 | cut -d'"' -f2)
    [[ $newest == "$version" ]] || fail "the newest release in $app's metainfo is '$newest', the build is $version"

    for size in "${sizes[@]}"; do
        icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$app.png
        [[ -f $icon ]] || continue
        description=$(file -b "$icon")
        [[ $description == "PNG image data, $size x $size, 8-bit/color RGBA"* ]] ||
            fail "$icon: $description"
    done
    file -b "$prefix/share/icons/hicolor/scalable/apps/$app.svg" | grep -q 'SVG' || fail "$app's scalable icon is not SVG"
done

for page in zembrel zembrel-render zembrel-molecules zembrel-serve; do
    for device in ps utf8; do
        if ! remarks=$(groff -man -ww -z -T"$device" "$prefix/share/man/man1/$page.1" 2>&1) || [[ -n $remarks ]]; then
            fail "groff -T$device $page.1: $remarks"
        fi
    done
done

completion=$prefix/share/bash-completion/completions/zembrel-render
bash --norc --noprofile -c "source '$completion' && complete -p zembrel-render" >/dev/null ||
    fail "the completion does not load"

# The server's unit: systemd reads it without a remark, and the server takes
# the options it starts it with (on a free port here, not the unit's own).
unit=$prefix/lib/systemd/system/zembrel-serve.service
if command -v systemd-analyze >/dev/null; then
    sed "s|/usr/bin/|$prefix/bin/|" "$unit" >"$prefix.unit.service"
    if ! remarks=$(MANPATH=$prefix/share/man systemd-analyze verify "$prefix.unit.service" 2>&1) || [[ -n $remarks ]]; then
        fail "systemd-analyze verify zembrel-serve.service: $remarks"
    fi
    rm -f "$prefix.unit.service"
fi
read -ra start < <(sed -n 's/^ExecStart=\(.\+\)/\1/p' "$unit")
[[ ${start[0]-} == /usr/bin/zembrel-serve ]] || fail "the unit starts ${start[0]-nothing}, not /usr/bin/zembrel-serve"
options=("${start[@]:1}")
for ((k = 0; k < ${#options[@]}; k++)); do
    [[ ${options[k]} == --listen ]] && options[k + 1]=127.0.0.1:0
done
"$prefix/bin/zembrel-serve" "${options[@]}" 2>"$prefix.serve.log" &
server=$!
for _ in $(seq 100); do
    grep -q 'listening on' "$prefix.serve.log" && break
    sleep 0.1
done
grep -q 'listening on http://127\.0\.0\.1:' "$prefix.serve.log" ||
    fail "the installed zembrel-serve does not start with the unit's options: $(cat "$prefix.serve.log")"
kill -TERM "$server" 2>/dev/null
wait "$server" || fail "the installed zembrel-serve did not end cleanly on SIGTERM: $(cat "$prefix.serve.log")"
rm -f "$prefix.serve.log"

((failures == 0)) && echo "$prefix: every check passed"
exit $((failures > 0))
