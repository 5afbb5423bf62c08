#!/usr/bin/env bash
# Runs a test program on a desktop of its own instead of the offscreen one: "x11" is an X server
# in memory (Xvfb) with a window manager (openbox) that frames the windows and delivers a title
# bar's close as a desktop does; "wayland" is the Weston compositor with its headless back end.
# Usage: on-desktop.sh x11|wayland PROGRAM [ARGS...]
set -euo pipefail

desktop=$1
shift
runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$runtime"' EXIT

case $desktop in
  x11)
    # The display number is chosen by the server itself (-displayfd), so parallel runs never meet.
    exec 3<> "$runtime/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp &
    until [[ -s $runtime/display ]]; do sleep 0.05; done
    export DISPLAY=":$(head -n1 "$runtime/display")"
    openbox --sm-disable &
    # The window manager owns the screen once it has taken the root window's redirect.
    for _ in $(seq 100); do
      wmctrl -m >/dev/null 2>&1 && break
      sleep 0.05
    done
    export QT_QPA_PLATFORM=xcb
    ;;
  wayland)
    export XDG_RUNTIME_DIR=$runtime
    weston --backend=headless-backend.so --socket=sorvell --idle-time=0 \
      > "$runtime/weston.log" 2>&1 &
    until [[ -S $runtime/sorvell ]]; do sleep 0.05; done
    export WAYLAND_DISPLAY=sorvell QT_QPA_PLATFORM=wayland
    ;;
  *)
    echo "unknown desktop '$desktop' (x11 or wayland)" >&2
    exit 2
    ;;
esac
"$@"
