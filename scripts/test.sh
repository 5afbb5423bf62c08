#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   scripts/test.sh              the normal build, in build/
#   scripts/test.sh --sanitize   the same suite under AddressSanitizer and UBSan, in build-asan/
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"

build_dir="$here/build"
# The default configuration, as scripts/run.sh builds it: the benchmarks are built too, and ctest
# runs each once, briefly, asserting no timing (scripts/bench.sh takes the figures).
cmake_args=()
if [[ ${1:-} == --sanitize ]]; then
  build_dir="$here/build-asan"
  # Figures under the sanitizers would mean nothing.
  cmake_args+=(-DSORVELL_SANITIZE=ON -DSORVELL_BENCH=OFF)
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

"$here/scripts/build.sh" "$build_dir" "${cmake_args[@]}"
export QT_QPA_PLATFORM=offscreen
cd "$build_dir"
ctest --output-on-failure -j2 --timeout 120
