#!/usr/bin/env bash
# Start-up benchmark. Runs the tool and a minimal Widgets program doing the same outer job
# (zembrel_baseline) in turn on a private Xvfb, A B A B ..., each through zembrel_watcher: start, window
# mapped, Return, exit, picture checked. Prints medians and the tool/baseline ratios, the CPU time each
# uses while its window sits idle, then the DrawPic redraw micro-benchmark. The machine is shared and
# noisy, so the ratios are the figures; slowness never fails the run, only breakage does (no window, no
# exit on Return, no picture at the handshake path).
#
# usage: bench/startup.sh [--pairs N] [--warmup N] [--build-dir DIR] [--no-build] [--tool PROGRAM]
#                         [--baseline PROGRAM] [--idle SECONDS] [--timeout SECONDS] [--repetitions N]
#   --pairs N           measured tool/baseline pairs (default 15)
#   --warmup N          unmeasured pairs first, to fill the caches (default 2)
#   --build-dir DIR     build there (configured as Release if new) instead of the ci preset
#   --no-build          take the programs already built in the build dir; without Xvfb, skip (status 77)
#   --tool PROGRAM      the program measured against the baseline (default: the tool in the build dir);
#                       give the baseline itself to see the noise floor
#   --baseline PROGRAM  what the tool is measured against (default: zembrel_baseline in the build dir);
#                       give an earlier build of the tool to measure one change
#   --idle SECONDS      how long each program's window is left idle while its CPU time is read
#                       (default 2; 0 leaves this out)
#   --timeout S         a run that takes longer is broken (default 30)
#   --repetitions N     repetitions of the DrawPic micro-benchmark (default 10)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
pairs=15
warmup=2
build_dir=
build=yes
tool=
baseline=
idle=2
timeout=30
repetitions=10

usage() {
    sed -n '/^# usage:/,/^#   --repetitions/s/^# \{0,1\}//p' "$0" >&2
    exit 2
}
count() { [[ $2 =~ ^[0-9]+$ ]] || { echo "startup.sh: $1 takes a whole number, not '$2'" >&2; exit 2; }; }

while (($#)); do
    if [[ $1 == --no-build ]]; then
        build=
        shift
        continue
    fi
    (($# >= 2)) || usage
    case $1 in
        --pairs) count "$1" "$2"; pairs=$2 ;;
        --warmup) count "$1" "$2"; warmup=$2 ;;
        --build-dir) build_dir=$(realpath -m "$2") ;;
        --tool) tool=$(realpath -m "$2") ;;
        --baseline) baseline=$(realpath -m "$2") ;;
        --idle) count "$1" "$2"; idle=$2 ;;
        --timeout) timeout=$2 ;;
        --repetitions) count "$1" "$2"; repetitions=$2 ;;
        *) usage ;;
    esac
    shift 2
done
((pairs >= 1 && repetitions >= 1)) || usage

if [[ -n $build ]]; then
    "$root/scripts/deps.sh"
elif ! command -v Xvfb >/dev/null; then
    echo "startup.sh: skipped, there is no Xvfb" >&2
    exit 77
fi

tmp=$(mktemp -d "${TMPDIR:-/tmp}/zembrel-startup.XXXXXX")
xvfb_pid=
cleanup() {
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT

build_dir=${build_dir:-$root/build/ci}
if [[ -n $build ]]; then
    # Build only what this needs; the tool and the baseline are left alone when other programs stand in.
    targets=(zembrel_watcher bench_drawpic)
    [[ -n $tool ]] || targets+=(zembrel)
    [[ -n $baseline ]] || targets+=(zembrel_baseline)
    echo "Building ${targets[*]} ..."
    if ! {
        if [[ $build_dir == "$root/build/ci" ]]; then
            (cd "$root" && cmake --preset ci && cmake --build --preset ci --target "${targets[@]}")
        else
            [[ -f $build_dir/CMakeCache.txt ]] || cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release
            cmake --build "$build_dir" --target "${targets[@]}"
        fi
    } >"$tmp/build.log" 2>&1; then
        cat "$tmp/build.log" >&2
        echo "startup.sh: the build failed" >&2
        exit 1
    fi
fi
tool=${tool:-$build_dir/src/app/zembrel}
baseline=${baseline:-$build_dir/bench/zembrel_baseline}
watcher=$build_dir/bench/zembrel_watcher
drawpic=$build_dir/bench/bench_drawpic
for program in "$tool" "$baseline" "$watcher" "$drawpic"; do
    [[ -x $program ]] || { echo "startup.sh: no program at $program" >&2; exit 1; }
done

# Xvfb picks a free display itself and writes its number to the fifo; an Xvfb that dies closes it.
# -noreset: otherwise the server resets whenever the last client leaves and may refuse the next run.
mkfifo "$tmp/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
if ! read -r -t 15 display_number <"$tmp/display" || [[ -z $display_number ]]; then
    cat "$tmp/xvfb.log" >&2
    echo "startup.sh: Xvfb did not start" >&2
    exit 1
fi
export DISPLAY=:$display_number QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$tmp/runtime
unset WAYLAND_DISPLAY
mkdir -m 700 "$XDG_RUNTIME_DIR"

# One run through the watcher with a handshake path nobody has used; the line goes to $tmp/$1.runs.
run() {
    local label=$1 program=$2 name=$3
    local handshake=$tmp/$name.bmp line
    if ! line=$("$watcher" --timeout "$timeout" --bmp "$handshake" "${@:4}" -- "$program" "$handshake" \
        2>"$tmp/run.err"); then
        cat "$tmp/run.err" >&2
        echo "startup.sh: run $name of $program is broken (see above)" >&2
        exit 1
    fi
    rm -f "$handshake"
    [[ $label == - ]] || echo "$line" >>"$tmp/$label.runs"
}

echo "Running $warmup warm-up and $pairs measured pairs on display :$display_number ..."
for ((i = 1; i <= warmup; ++i)); do
    run - "$tool" "warmup$i-tool"
    run - "$baseline" "warmup$i-baseline"
done
for ((i = 1; i <= pairs; ++i)); do
    run tool "$tool" "pair$i-tool"
    run baseline "$baseline" "pair$i-baseline"
done

# The numbers are C-locale text whatever the user's locale, so the helpers read and print them as such.
# field FILE KEY: the KEY=value column of the watcher's lines
field() { LC_ALL=C awk -v key="$2" '{ for (i = 1; i <= NF; ++i) { split($i, kv, "="); if (kv[1] == key) print kv[2] } }' "$1"; }
median() { LC_ALL=C sort -g | LC_ALL=C awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
row() { # TITLE KEY DIVISOR
    local tool_median baseline_median ratio
    tool_median=$(field "$tmp/tool.runs" "$2" | median)
    baseline_median=$(field "$tmp/baseline.runs" "$2" | median)
    ratio=$(paste <(field "$tmp/tool.runs" "$2") <(field "$tmp/baseline.runs" "$2") | LC_ALL=C awk '{ print $1 / $2 }' | median)
    LC_ALL=C awk -v title="$1" -v a="$tool_median" -v b="$baseline_median" -v r="$ratio" -v d="$3" \
        'BEGIN { printf "%-22s %10.1f %10.1f %15.2f\n", title, a / d, b / d, r }'
}

echo
echo "Start-up: medians of $pairs pairs; the ratio is the median of the pair-by-pair ratios"
echo "  tool:     $tool"
echo "  baseline: $baseline"
printf '%-22s %10s %10s %15s\n' "" tool baseline tool/baseline
row "window mapped (ms)" map_ms 1
row "round trip (ms)" round_trip_ms 1
row "Return to exit (ms)" enter_to_exit_ms 1
row "peak RSS (MiB)" peak_rss_kib 1024

if ((idle > 0)); then
    echo
    echo "Idle window: CPU time over $idle s, in clock ticks of 1/$(getconf CLK_TCK) s (0 is right)"
    run tool-idle "$tool" idle-tool --idle "$idle"
    run baseline-idle "$baseline" idle-baseline --idle "$idle"
    printf '%-22s %10s %10s\n' "idle CPU (ticks)" "$(field "$tmp/tool-idle.runs" idle_ticks)" \
        "$(field "$tmp/baseline-idle.runs" idle_ticks)"
fi

echo
echo "DrawPic micro-benchmark: medians of $repetitions repetitions"
if ! "$drawpic" --benchmark_filter='^BM_(DrawPicTwoLettersAllDots|Cls)$' --benchmark_repetitions="$repetitions" \
    --benchmark_report_aggregates_only=true --benchmark_color=false >"$tmp/drawpic.txt" 2>&1; then
    cat "$tmp/drawpic.txt" >&2
    echo "startup.sh: bench_drawpic failed" >&2
    exit 1
fi
# One repetition reports no aggregates, only the run itself.
suffix=_median
((repetitions > 1)) || suffix=
LC_ALL=C awk -v suffix="$suffix" '$1 ~ "^BM_[A-Za-z]+" suffix "$" {
        sub(suffix "$", "", $1); printf "%-30s %10s %s (CPU %s %s)\n", $1, $2, $3, $4, $5 }' \
    "$tmp/drawpic.txt" >"$tmp/drawpic.medians"
cat "$tmp/drawpic.medians"
if (($(wc -l <"$tmp/drawpic.medians") != 2)); then
    cat "$tmp/drawpic.txt" >&2
    echo "startup.sh: bench_drawpic did not report BM_DrawPicTwoLettersAllDots and BM_Cls" >&2
    exit 1
fi
