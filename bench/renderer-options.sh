# Sourced by the benchmarks (render.sh, molecules.sh, serve.sh): their shared
# options, the build and the median. The sourcing script sets `root` and the
# defaults of its numbers first, and may set `numbers` (its options that take
# a whole number, as option=variable; --lines=lines if unset), `repetitions`
# (5 if unset) and `targets` (what it runs; zembrel-render if unset). It
# documents the options in its head, from "# usage:" to "#   --no-build".

repetitions=${repetitions:-5}
numbers=${numbers:---lines=lines}
targets=("${targets[@]:-zembrel-render}")
build_dir=
build=yes

usage() {
    sed -n '/^# usage:/,/^#   --no-build/s/^# \{0,1\}//p' "$0" >&2
    exit 2
}
count() {
    [[ $2 =~ ^[1-9][0-9]*$ ]] || { echo "$(basename "$0"): $1 takes a whole number above 0, not '$2'" >&2; exit 2; }
}

while (($#)); do
    case $1 in
        --no-build) build= ; shift; continue ;;
    esac
    (($# >= 2)) || usage
    case $1 in
        --repetitions) count "$1" "$2"; repetitions=$2 ;;
        --build-dir) build_dir=$(realpath -m "$2") ;;
        *)
            known=
            for pair in $numbers; do
                [[ $1 == "${pair%%=*}" ]] && { count "$1" "$2"; printf -v "${pair#*=}" %s "$2"; known=yes; }
            done
            [[ -n $known ]] || usage
            ;;
    esac
    shift 2
done

build_dir=${build_dir:-$root/build/ci}
if [[ -n $build ]]; then
    "$root/scripts/deps.sh"
    if [[ $build_dir == "$root/build/ci" ]]; then
        (cd "$root" && cmake --preset ci >/dev/null && cmake --build --preset ci --target "${targets[@]}" >/dev/null)
    else
        [[ -f $build_dir/CMakeCache.txt ]] || cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
        cmake --build "$build_dir" --target "${targets[@]}" >/dev/null
    fi
fi
render=$build_dir/src/render/zembrel-render
[[ -x $render ]] || { echo "$(basename "$0"): no renderer at $render" >&2; exit 1; }

now() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
