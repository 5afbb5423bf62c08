#!/usr/bin/env bash
# The serial event thread and the socket layer under ThreadSanitizer: installs what is missing,
# builds only their tests, in build-tsan/, and runs them.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir="$here/build-tsan"
"$here/scripts/install-deps.sh"

cmake -S "$here" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSORVELL_TSAN=ON \
  -DSORVELL_BENCH=OFF >/dev/null
ninja -C "$build_dir" serial_tests tcp_tests

export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$here/scripts/tsan.supp"
"$build_dir/tests/serial/serial_tests"
"$build_dir/tests/tcp/tcp_tests"
