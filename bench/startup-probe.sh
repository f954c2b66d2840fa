#!/usr/bin/env bash
# Start-up of the game against a bare Qt Widgets window, side by side on a private X server:
# time from exec to the first painted window, resident memory then and once settled, and the
# peak. Builds what it needs in ./build first.
#   bench/startup-probe.sh              10 runs each
#   bench/startup-probe.sh --runs 30    more runs; any option is passed to the probe
# Set QT_SCALE_FACTOR (e.g. 2) to measure both at another scale.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TARNWELL_BUILD:-build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target tarnwell tarnwell_bare_window tarnwell_startup_probe >/dev/null

display_file=$(mktemp)
runtime_dir=$(mktemp -d)
chmod 700 "$runtime_dir"
# The game's picture cache of this session only: warm after the first (warm-up) start.
cache_dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null; wait $xvfb_pid 2>/dev/null; rm -rf "$display_file" "$runtime_dir" "$cache_dir"' EXIT
for _ in $(seq 200); do
  [ -s "$display_file" ] && break
  sleep 0.05
done
export DISPLAY=":$(tr -dc '0-9' <"$display_file")"
export XDG_RUNTIME_DIR=$runtime_dir XDG_CACHE_HOME=$cache_dir
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS

uname -srm
grep -m1 'model name' /proc/cpuinfo || true
"$build/bench/tarnwell_startup_probe" "$@" tarnwell="$build/app/tarnwell" bare="$build/bench/tarnwell_bare_window"
