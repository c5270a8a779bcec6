#!/usr/bin/env bash
# `cpack -G DEB` gives a package whose files unpack (dpkg -x, never into the
# system) to a complete, valid tree under /usr, and whose Depends dpkg-shlibdeps
# computed from the binaries.
# Usage: deb-package.sh BUILD-DIR APP-ID MOLECULES-ID VERSION ICON-SIZE...
set -euo pipefail
build=$1 version=$4
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zembrel-deb.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 || {
    cat "$scratch/cpack.log" >&2
    exit 1
}
debs=("$scratch"/zembrel_*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || {
    echo "FAIL: cpack made no zembrel_*.deb" >&2
    exit 1
}
deb=${debs[0]}
[[ $(basename "$deb") == "zembrel_${version}_$(dpkg --print-architecture).deb" ]] || {
    echo "FAIL: unexpected package name $(basename "$deb")" >&2
    exit 1
}

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
field() { dpkg-deb -f "$deb" "$1"; }

[[ $(field Package) == zembrel ]] || fail "Package: $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version: $(field Version)"
[[ -n $(field Maintainer) ]] || fail "no Maintainer"
[[ -n $(field Section) ]] || fail "no Section"
for program in zembrel-render zembrel-molecules; do
    [[ $(field Description) == *$program* ]] || fail "the Description does not name $program"
done
# Computed, so each library comes with the version the binaries need.
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    grep -qxE "$(sed 's/[+.]/\\&/g' <<<"$library") \(>= [^)]+\)" <<<"${depends//, /$'\n'}" ||
        fail "Depends lacks '$library (>= ...)': $depends"
done

root=$scratch/root
dpkg -x "$deb" "$root"
for program in zembrel zembrel-render zembrel-molecules; do
    # A run path into the build folder would work here and nowhere else;
    # one relative to the binary ($ORIGIN) is harmless.
    folders=$(readelf -d "$root/usr/bin/$program" | sed -n 's/.*R[UN]*PATH.*\[\(.*\)\]$/\1/p' | tr ':' '\n')
    if grep -q '^/' <<<"$folders"; then
        fail "usr/bin/$program looks for libraries in" $folders
    fi
done
[[ -z $(find "$root" -path "$root/usr" -prune -o -type f -print) ]] || fail "files outside /usr"

"$(dirname "$0")/check-tree.sh" "$root/usr" "${@:2}" || failures=$((failures + 1))
((failures == 0)) && echo "$(basename "$deb"): every check passed"
exit $((failures > 0))
