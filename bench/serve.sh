#!/usr/bin/env bash
# Load benchmark of zembrel-serve. Each repetition starts a fresh server on a free loopback port and sends
# it a bounded load of picture requests from many keep-alive clients (serve-requests), walking 200
# species of the table, each in one of the styles lewis, dots, bars and dot-cross: a cold SVG pass (the
# server's first), a warm SVG pass (the same server again), a warm PNG pass; then stops it with SIGTERM.
# Then the same SVG pictures as one zembrel-render --batch run. Prints the medians: pictures a second,
# latency p50 and p99, the server's peak memory (VmHWM, reset before each pass) and its RSS sampled every
# 0.5 s (first, last, max), the batch's pictures a second and the server/batch ratio, beside the goal.
# No If-None-Match is sent: every answer is drawn. Slowness never fails the run, only breakage does (an
# answer that is not a 200, a count the server's log does not match, a server that does not end with
# status 0, a missing picture of the batch).
#
# usage: bench/serve.sh [--requests N] [--clients N] [--threads N] [--repetitions N] [--build-dir DIR] [--no-build]
#   --requests N        picture requests in each pass, and pictures in the batch (default 20000)
#   --clients N         connections asking at once (default 32)
#   --threads N         the server's drawing threads (default: one a processor)
#   --repetitions N     measured repetitions, each with a fresh server (default 3)
#   --build-dir DIR     build there (configured as Release if new) instead of the ci preset
#   --no-build          take the programs already built in the build dir
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
requests=20000
clients=32
threads=$(nproc)
repetitions=3
species_count=200
styles=(lewis dots bars dot-cross)
goal_rate=1000
goal_p99_ms=50

numbers="--requests=requests --clients=clients --threads=threads"
targets=(zembrel-serve zembrel-render serve-requests)
# shellcheck source=bench/renderer-options.sh
source "$root/bench/renderer-options.sh"
((clients <= 1024 && threads <= 1024)) || { echo "serve.sh: the server takes at most 1024 threads and waiting requests" >&2; exit 2; }

serve=$build_dir/src/serve/zembrel-serve
render=$build_dir/src/render/zembrel-render
load=$build_dir/bench/serve-requests
for program in "$serve" "$render" "$load"; do
    [[ -x $program ]] || { echo "serve.sh: no program at $program" >&2; exit 1; }
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/zembrel-serve.XXXXXX")
server_pid=
sampler_pid=
cleanup() {
    [[ -n $sampler_pid ]] && { kill "$sampler_pid" 2>/dev/null || true; }
    if [[ -n $server_pid ]]; then
        kill -TERM "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT

# Percent-encoded byte by byte, so that a Russian name would pass too.
encoded() {
    local LC_ALL=C text=$1 out='' c i
    for ((i = 0; i < ${#text}; i++)); do
        c=${text:i:1}
        case $c in
            [A-Za-z0-9._~-]) out+=$c ;;
            *) printf -v c '%%%02X' "'$c"; out+=$c ;;
        esac
    done
    printf '%s' "$out"
}

# The table's English names, the first of each species, spread evenly over the table.
mapfile -t names < <(grep -v '^#' "$root/src/species/species.tsv" | awk -F '\t' 'NF >= 4 { split($4, n, "; "); print n[1] }')
((${#names[@]} >= species_count)) || { echo "serve.sh: the table has ${#names[@]} species, fewer than $species_count" >&2; exit 1; }
# Each path as the server's query and as the renderer's words it turns into (PictureQuery.cpp).
paths=() words=()
for ((i = 0; i < species_count; i++)); do
    name=${names[i * ${#names[@]} / species_count]}
    style=${styles[i % ${#styles[@]}]}
    paths+=("/api/picture?q=$(encoded "$name")&style=$style")
    quoted=${name//\\/\\\\}
    words+=("\"--name=${quoted//\"/\\\"}\" --style=$style --format=svg")
done
for format in svg png; do
    printf "%s&format=$format\n" "${paths[@]}" >"$tmp/$format.txt"
done
echo /health >"$tmp/health.txt"
# The batch's lines in the order the clients ask them, each to a file of its own: lines that share an
# output are made one after another.
for ((i = 0; i < requests; i++)); do
    echo "${words[i % species_count]} -o p$i.svg"
done >"$tmp/batch.txt"

# awk reads the file at once; bash's read takes it a piece at a time, seeking back, and the kernel makes
# the text anew for each piece, so a line can come out torn.
rss() { # pid field: a figure of /proc/PID/status in kB (VmRSS, VmHWM)
    awk -v key="$2:" '$1 == key { print $2; found = 1 } END { exit !found }' "/proc/$1/status"
}

start_server() { # sets server_pid and port
    : >"$tmp/server.log"
    # As many may wait as there are clients, so that none is turned away for the queue.
    "$serve" --listen 127.0.0.1:0 --threads "$threads" --queue "$clients" 2>"$tmp/server.log" &
    server_pid=$!
    port=
    local tries
    for ((tries = 0; tries < 300; tries++)); do
        port=$(sed -n 's|^zembrel-serve: listening on http://127\.0\.0\.1:\([0-9]*\)/$|\1|p' "$tmp/server.log")
        [[ -n $port ]] && break
        kill -0 "$server_pid" 2>/dev/null || { cat "$tmp/server.log" >&2; echo "serve.sh: the server did not start" >&2; exit 1; }
        sleep 0.1
    done
    [[ -n $port ]] || { echo "serve.sh: the server did not listen within 30 s" >&2; exit 1; }
    "$load" --port "$port" --clients 1 --requests 1 "$tmp/health.txt" >/dev/null ||
        { echo "serve.sh: /health did not answer 200" >&2; exit 1; }
}

stop_server() {
    kill -TERM "$server_pid"
    local status=0
    wait "$server_pid" || status=$?
    server_pid=
    ((status == 0)) || { tail -5 "$tmp/server.log" >&2; echo "serve.sh: the server ended with status $status after SIGTERM" >&2; exit 1; }
}

# One pass of the load; sets rate, p50, p99 (ms), peak, first, last, max (kB).
pass() { # paths-file what
    local before after refused
    echo 5 >"/proc/$server_pid/clear_refs" # VmHWM from here
    before=$(grep -c ' /api/picture 200 ' "$tmp/server.log" || true)
    (while :; do rss "$server_pid" VmRSS; sleep 0.5; done) >"$tmp/rss" &
    sampler_pid=$!
    "$load" --port "$port" --clients "$clients" --requests "$requests" "$1" >"$tmp/load" ||
        { tail -5 "$tmp/server.log" >&2; echo "serve.sh: the $2 pass broke" >&2; exit 1; }
    kill "$sampler_pid"
    wait "$sampler_pid" 2>/dev/null || true
    sampler_pid=
    rss "$server_pid" VmRSS >>"$tmp/rss"
    peak=$(rss "$server_pid" VmHWM)
    # The server's own count: exactly the requests sent, every one drawn.
    after=$(grep -c ' /api/picture 200 ' "$tmp/server.log" || true)
    refused=$(grep ' /api/picture ' "$tmp/server.log" | grep -vc ' /api/picture 200 ' || true)
    ((after - before == requests && refused == 0)) ||
        { echo "serve.sh: the server logged $((after - before)) pictures of $requests in the $2 pass, $refused refusals in all" >&2; exit 1; }
    read -r rate p50 p99 < <(awk '{ for (i = 1; i <= NF; i++) { split($i, kv, "="); f[kv[1]] = kv[2] } }
        END { print f["per_second"], f["p50_ms"], f["p99_ms"] }' "$tmp/load")
    read -r first last max < <(awk 'NR == 1 { first = $1 } { last = $1; if ($1 > max) max = $1 } END { print first, last, max }' "$tmp/rss")
}

batch_run() { # prints pictures a second
    rm -rf "$tmp/out"
    mkdir "$tmp/out"
    local start=$(now) end made
    "$render" --batch "$tmp/batch.txt" --output-dir "$tmp/out" 2>"$tmp/errors" || { head -5 "$tmp/errors" >&2; exit 1; }
    end=$(now)
    made=$(find "$tmp/out" -name '*.svg' -size +0 | wc -l)
    ((made == requests)) || { echo "serve.sh: the batch made $made pictures of $requests" >&2; exit 1; }
    rm -rf "$tmp/out"
    awk -v n="$requests" -v ns=$((end - start)) 'BEGIN { printf "%.1f\n", n / (ns / 1e9) }'
}

passes=(cold warm png)
declare -A figures
for ((r = 1; r <= repetitions; r++)); do
    start_server
    line="repetition $r:"
    for what in "${passes[@]}"; do
        file=$tmp/svg.txt
        [[ $what == png ]] && file=$tmp/png.txt
        pass "$file" "$what"
        for key in rate p50 p99 peak first last max; do
            figures[$what-$key]+="${!key} "
        done
        line+=" $what $rate/s p50 $p50 ms p99 $p99 ms peak $((peak / 1024)) MiB,"
    done
    stop_server
    batch=$(batch_run)
    figures[batch]+="$batch "
    echo "$line batch $batch/s" >&2
done

m() { printf '%s\n' ${figures[$1]} | median; }
printf '%d picture requests a pass from %d clients, %d drawing threads, %d species and styles; medians of %d repetitions\n' \
    "$requests" "$clients" "$threads" "$species_count" "$repetitions"
printf '  %-11s %12s %8s %8s %9s  %s\n' "" "pictures/s" "p50 ms" "p99 ms" "peak MiB" "RSS first / last / max MiB"
declare -A label=([cold]="SVG, cold:" [warm]="SVG, warm:" [png]="PNG, warm:")
for what in "${passes[@]}"; do
    awk -v what="${label[$what]}" -v rate="$(m "$what-rate")" -v p50="$(m "$what-p50")" -v p99="$(m "$what-p99")" \
        -v peak="$(m "$what-peak")" -v first="$(m "$what-first")" -v last="$(m "$what-last")" -v max="$(m "$what-max")" 'BEGIN {
        printf "  %-11s %12.1f %8.2f %8.2f %9.1f  %.1f / %.1f / %.1f\n", what, rate, p50, p99, peak / 1024, first / 1024, last / 1024, max / 1024 }'
done
awk -v batch="$(m batch)" -v warm="$(m warm-rate)" -v cold="$(m cold-rate)" -v p99="$(m warm-p99)" -v cold99="$(m cold-p99)" \
    -v n="$requests" -v rate="$goal_rate" -v ms="$goal_p99_ms" 'BEGIN {
    printf "  one --batch run of the %d SVG pictures: %.1f pictures/s\n", n, batch
    printf "  server / batch (SVG, warm): %.2f x\n", warm / batch
    met = (cold >= rate && warm >= rate && cold99 < ms && p99 < ms) ? "met" : "not met"
    printf "  goal: >= %d SVG pictures/s and p99 < %d ms, cold and warm: %s\n", rate, ms, met
}'
