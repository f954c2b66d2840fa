#!/bin/bash
# Reads the board of the real program through AT-SPI, as a screen reader does. Runs on an X
# server of its own (run-under-xvfb.sh): a private session bus, the accessibility bus with its
# registry, then the program, then the check in atspi_board.py.
# Usage: run-under-xvfb.sh atspi-board.sh GAME_BINARY (which passes the program on in
# TARNWELL_BINARY), or atspi-board.sh GAME_BINARY on a display of your own.
# Exits with the check's status, or 77 (a skip for ctest) when the accessibility stack is not
# installed or does not start here.
set -u

game=${1:-${TARNWELL_BINARY:-}}
if [ -z "$game" ]; then
  echo "usage: $0 GAME_BINARY" >&2
  exit 2
fi
game=$(readlink -f "$game")
here=$(cd "$(dirname "$0")" && pwd)

skip() {
  echo "SKIP: $*" >&2
  exit 77
}

# The system's Python, which Debian's python3-pyatspi is made for.
python=/usr/bin/python3
[ -x "$python" ] || python=$(command -v python3)
[ -n "$python" ] || skip "no python3"
"$python" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
for tool in dbus-daemon dbus-send xdotool; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
launcher=""
registry=""
for dir in /usr/libexec /usr/lib/at-spi2-core /usr/lib/x86_64-linux-gnu/at-spi2-core; do
  [ -z "$launcher" ] && [ -x "$dir/at-spi-bus-launcher" ] && launcher=$dir/at-spi-bus-launcher
  [ -z "$registry" ] && [ -x "$dir/at-spi2-registryd" ] && registry=$dir/at-spi2-registryd
done
[ -n "$launcher" ] && [ -n "$registry" ] || skip "at-spi2-core is not installed"

work=$(mktemp -d)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null
    wait "${pids[i]}" 2>/dev/null
  done
  [ -f "$work/bus.pid" ] && kill "$(cat "$work/bus.pid")" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Waits up to 10 s for a command to succeed.
await() {
  for _ in $(seq 200); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  return 1
}

# The session bus: the program finds the accessibility bus through it.
dbus-daemon --session --fork --nopidfile --print-address=3 --print-pid=4 3>"$work/bus.address" 4>"$work/bus.pid" ||
  skip "no session bus"
await test -s "$work/bus.pid" || skip "no session bus"
export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus.address")
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

"$launcher" --launch-immediately >"$work/launcher.log" 2>&1 &
pids+=($!)
a11y_address() {
  dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress
}
await a11y_address || skip "the accessibility bus did not start: $(cat "$work/launcher.log")"
a11y=$(a11y_address | tr -d ' \n')

# The registry before the program, which looks for it when it starts.
"$registry" >"$work/registry.log" 2>&1 &
pids+=($!)
registry_up() {
  dbus-send --bus="$a11y" --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.atspi.Registry | grep -q 'boolean true'
}
await registry_up || skip "the accessibility registry did not start: $(cat "$work/registry.log")"

mkdir "$work/config" "$work/play"
(cd "$work/play" && QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
  exec env -u QT_SCALE_FACTOR -u XDG_CURRENT_DESKTOP "$game" >"$work/game.log" 2>&1) &
pids+=($!)

"$python" "$here/atspi_board.py"
status=$?
if [ $status -ne 0 ] && [ $status -ne 77 ]; then
  echo "--- output of the program ---" >&2
  cat "$work/game.log" >&2
fi
exit $status
