#!/usr/bin/env bash
# Installs what is missing, builds and starts the program. Without a
# display it starts it on a virtual X display, saves a screenshot of the
# window and says where.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh quillmoor
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec build/bin/quillmoor "$@"
fi

mkdir -p build/screenshots
shot="$PWD/build/screenshots/quillmoor.png"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$program" "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done 2>/dev/null || true
export ASAN_OPTIONS=detect_leaks=0
DISPLAY=$display build/bin/quillmoor "$@" &
program=$!
# Give the window time to appear, then photograph the whole screen.
sleep 3
DISPLAY=$display import -window root "$shot"
echo "No display here: the program ran on the virtual display $display."
echo "Screenshot of the window: $shot"
