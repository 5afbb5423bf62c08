#!/usr/bin/env bash
# The libFuzzer build: clang, coverage instrumentation, AddressSanitizer and UBSan, in build-fuzz/.
#   scripts/fuzz.sh                  builds every fuzz target (fuzz_<name>)
#   scripts/fuzz.sh NAME [SECONDS]   builds, then fuzzes NAME for SECONDS (600 by default) starting
#                                    from fuzz/corpus/NAME, and merges what it found back into
#                                    fuzz/corpus/NAME, minimised (-merge=1)
# Names: ParseLocoNet ParseLenz P50XReplies SrcpReceive SpinEdit. The log with the exec count and
# coverage goes to build-fuzz/logs/NAME.log, and the figures of the run to NAME's row in the fuzz
# table of bench/README.md. The normal build replays fuzz/corpus as tests.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir="$here/build-fuzz"
"$here/scripts/install-deps.sh" clang libclang-rt-14-dev

CC=clang CXX=clang++ cmake -S "$here/fuzz" -B "$build_dir" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
name=${1:-}
if [[ -z $name ]]; then
  ninja -C "$build_dir"
  exit 0
fi
ninja -C "$build_dir" "fuzz_$name"

seconds=${2:-600}
corpus="$here/fuzz/corpus/$name"
work="$build_dir/work/$name"
merged="$build_dir/merged/$name"
mkdir -p "$corpus" "$work" "$build_dir/logs" "$build_dir/crashes"
rm -rf "$merged" && mkdir -p "$merged"
cp -n "$corpus"/* "$work"/ 2>/dev/null || true

export QT_QPA_PLATFORM=offscreen
# Qt keeps some allocations of its platform plugin for the whole run; they are not leaks of ours.
export ASAN_OPTIONS=detect_leaks=0
log="$build_dir/logs/$name.log"
status=0
"$build_dir/fuzz_$name" -max_total_time="$seconds" -max_len=1024 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$build_dir/crashes/$name-" "$work" >"$log" 2>&1 ||
  status=$?
grep -E '^(#[0-9]+[[:space:]]+(INITED|DONE)|stat::|==[0-9]+==ERROR|SUMMARY)' "$log" || true
if ((status != 0)); then
  echo "fuzz_$name failed (exit $status): see $log and $build_dir/crashes/" >&2
  exit "$status"
fi
# The kept corpus is minimised for edges alone (no hit counts): a few dozen files that reach
# everything the run reached. The full corpus stays in the work folder for the next run.
"$build_dir/fuzz_$name" -merge=1 -use_counters=0 "$merged" "$corpus" "$work" \
  >"$build_dir/logs/$name.merge.log" 2>&1
rm -f "$corpus"/*
cp "$merged"/* "$corpus"/
files=$(ls "$corpus" | wc -l)
echo "$name: $files corpus files"

fuzz_stat() { sed -n "s/^stat::$1: *//p" "$log"; }
final=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1)
coverage=$(sed -E 's/.* cov: ([0-9]+) ft: ([0-9]+) .*/\1 edges, \2 features/' <<<"$final")
source "$here/scripts/readme-section.sh"
# Two targets fuzzed side by side finish at about the same time.
exec 9>"$build_dir/readme.lock"
flock 9
replace_row "$here/bench/README.md" fuzz "$name" \
  "| $name | $seconds s | $(fuzz_stat number_of_executed_units) | $(fuzz_stat average_exec_per_sec) | $coverage | $files | $(date -u +%Y-%m-%d) |"
