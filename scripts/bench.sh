#!/usr/bin/env bash
# Builds Release into build-bench/, runs every benchmark and the full soak, and rewrites the
# measured figures in bench/README.md: the speed table, and the soak's counts.
#   scripts/bench.sh            everything (the soak takes about ten minutes)
#   scripts/bench.sh --no-soak  the benchmarks only; the soak's section stays as it is
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir="$here/build-bench"
readme="$here/bench/README.md"
soak=true
[[ ${1:-} == --no-soak ]] && soak=false

# Xvfb gives the start-up figure a real X server.
"$here/scripts/install-deps.sh" xvfb
cmake -S "$here" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build_dir" bench_startup bench_programming_cpu bench_serial bench_p50x_roundtrip \
  sorvell_bench_parsers bench_p50x_idle_poll bench_pause bench_decoder_store \
  bench_decoder_list_window bench_soak

logs="$build_dir/bench-logs"
mkdir -p "$logs"
export QT_QPA_PLATFORM=offscreen
cd "$build_dir"

# measure LOG COMMAND...: runs one benchmark into $logs/LOG. Some exit non-zero when they miss
# their target; their figure still goes into the table, marked as missed.
measure() {
  local log=$1
  shift
  "$@" >"$logs/$log" 2>"$logs/$log.err" || true
  if [[ ! -s $logs/$log ]]; then
    cat "$logs/$log.err" >&2
    echo "$* reported nothing" >&2
    exit 1
  fi
}

# The start-up is measured on a real X server where one can be had.
if command -v xvfb-run >/dev/null; then
  measure startup.txt env -u QT_QPA_PLATFORM xvfb-run -a bench/bench_startup 15
  platform="Xvfb"
else
  measure startup.txt bench/bench_startup 15
  platform="offscreen"
fi
measure programming_cpu.txt bench/bench_programming_cpu
measure serial.txt bench/bench_serial 500 3
measure p50x_roundtrip.txt bench/bench_p50x_roundtrip
measure parsers.csv bench/sorvell_bench_parsers --benchmark_filter=BacklogInOneEvent \
  --benchmark_format=csv
measure p50x_idle_poll.txt bench/bench_p50x_idle_poll
measure pause.txt bench/bench_pause
measure decoder_store.txt bench/bench_decoder_store
measure decoder_list_window.txt bench/bench_decoder_list_window

# number PATTERN FILE: the first number after PATTERN in FILE.
number() { grep -oE "$1 [0-9.]+" "$2" | head -1 | grep -oE '[0-9.]+$'; }
# verdict VALUE LIMIT: whether VALUE is under LIMIT.
verdict() { awk -v v="$1" -v l="$2" 'BEGIN { print (v + 0 < l + 0) ? "yes" : "**no**" }'; }
# parser_ms NAME: milliseconds per 1 MiB backlog of the benchmark NAME.
parser_ms() { awk -F, -v n="\"$1\"" '$1 == n { printf "%.1f", $3 }' "$logs/parsers.csv"; }

table="$logs/figures.md"
{
  echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) cores" \
    "($(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)), load average" \
    "$(cut -d' ' -f1-3 /proc/loadavg) before the run."
  echo
  echo "| figure | measured | target | met |"
  echo "|---|---|---|---|"
  shown=$(number "window shown median" "$logs/startup.txt")
  before_main=$(number "before main\\(\\)" "$logs/startup.txt")
  echo "| process start to window shown ($platform, median of 15 processes) | $shown ms, of which" \
    "$before_main ms before \`main()\` | < 300 ms | $(verdict "$shown" 300) |"
  resident=$(number "resident memory after start median" "$logs/startup.txt")
  echo "| resident memory after start (median) | $resident MiB | < 60 MiB |" \
    "$(verdict "$resident" 60) |"
  while read -r central seconds share; do
    echo "| CPU over a whole programming run, $central ($seconds s) | $share % of a core |" \
      "< 1 % | $(verdict "$share" 1) |"
  done < <(sed -nE 's/^programming run ([a-z0-9]+): ([0-9]+) ms, CPU [0-9.]+ ms = ([0-9.]+) %.*/\1 \2 \3/p' \
    "$logs/programming_cpu.txt" | awk '{ printf "%s %.1f %s\n", $1, $2 / 1000, $3 }')
  latency=$(number "median" "$logs/serial.txt")
  echo "| received byte to \`OnRxChar\` (median of 500) | $latency ms | < 2 ms |" \
    "$(verdict "$latency" 2) |"
  roundtrip=$(number "median" "$logs/p50x_roundtrip.txt")
  echo "| P50X round trip over the wire time (median of 1000) | $roundtrip ms | < 2 ms |" \
    "$(verdict "$roundtrip" 2) |"
  loconet=$(parser_ms LocoNetBacklogInOneEvent)
  echo "| LocoNet parser, 1 MiB backlog in one event | $loconet ms | < 100 ms |" \
    "$(verdict "$loconet" 100) |"
  lenz=$(parser_ms LenzBacklogInOneEvent)
  echo "| Lenz parser, 1 MiB backlog in one event | $lenz ms | < 100 ms | $(verdict "$lenz" 100) |"
  poll=$(number "=" "$logs/p50x_idle_poll.txt")
  echo "| CPU of the idle P50X event poll (10 s) | $poll % of a core | < 1 % |" \
    "$(verdict "$poll" 1) |"
  wait_cpu=$(number "CPU" "$logs/pause.txt")
  echo "| CPU of a \`Pause(4000)\` | $wait_cpu ms | < 20 ms | $(verdict "$wait_cpu" 20) |"
} >"$table"

# The decoder list at the sizes a user can make: the benchmarks' own lines.
decoder_list="$logs/decoder-list.md"
{
  echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC'), Release, offscreen."
  echo
  echo '```'
  cat "$logs/decoder_store.txt" "$logs/decoder_list_window.txt"
  echo '```'
} >"$decoder_list"

source "$here/scripts/readme-section.sh"
replace_section "$readme" figures "$table"
replace_section "$readme" decoderlist "$decoder_list"

if $soak; then
  SORVELL_SOAK_REPORT="$logs/soak.md" bench/bench_soak 200 \
    >"$logs/soak.txt" 2>&1 || { tail -40 "$logs/soak.txt"; echo "the soak failed" >&2; exit 1; }
  replace_section "$readme" soak "$logs/soak.md"
fi
cat "$table" "$decoder_list"
