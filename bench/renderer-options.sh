# Sourced by the renderer's batch benchmarks (render.sh, molecules.sh): their
# shared options, the renderer's build and the median. The sourcing script
# sets `root` and `lines` (its default) first and documents the options in
# its head, from "# usage:" to "#   --no-build".

repetitions=5
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
        --lines) count "$1" "$2"; lines=$2 ;;
        --repetitions) count "$1" "$2"; repetitions=$2 ;;
        --build-dir) build_dir=$(realpath -m "$2") ;;
        *) usage ;;
    esac
    shift 2
done

build_dir=${build_dir:-$root/build/ci}
if [[ -n $build ]]; then
    "$root/scripts/deps.sh"
    if [[ $build_dir == "$root/build/ci" ]]; then
        (cd "$root" && cmake --preset ci >/dev/null && cmake --build --preset ci --target zembrel-render >/dev/null)
    else
        [[ -f $build_dir/CMakeCache.txt ]] || cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
        cmake --build "$build_dir" --target zembrel-render >/dev/null
    fi
fi
render=$build_dir/src/render/zembrel-render
[[ -x $render ]] || { echo "$(basename "$0"): no renderer at $render" >&2; exit 1; }

now() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
