#!/bin/bash
# Runs the end-to-end test program on a private X server of its own.
# Usage: run-under-xvfb.sh TEST_BINARY GAME_BINARY [test arguments...]
# Exits with the test program's status, or 77 (a skip for ctest) when the X tools are missing.
set -u

if [ $# -lt 2 ]; then
  echo "usage: $0 TEST_BINARY GAME_BINARY [test arguments...]" >&2
  exit 2
fi
test_binary=$1
game_binary=$2
shift 2

for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed" >&2
    exit 77
  fi
done

# The server picks a free display number itself and writes it to the file once it accepts
# clients, so two runs at the same time never take the same number.
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -f "${xvfb_log:-}" "${display_file:-}"
  [ -n "${runtime_dir:-}" ] && rm -rf "$runtime_dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

xvfb_log=$(mktemp)
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >"$xvfb_log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 200); do
  [ -s "$display_file" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.05
done
number=$(tr -dc '0-9' <"$display_file")
if [ -z "$number" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
  echo "Could not start Xvfb:" >&2
  cat "$xvfb_log" >&2
  exit 1
fi
display=":$number"

# Qt wants a private runtime folder; a session of our own has none.
runtime_dir=$(mktemp -d)
chmod 700 "$runtime_dir"

# The game must not see a desktop's theme or a session bus that would change its dialogs.
DISPLAY=$display TARNWELL_BINARY=$game_binary XDG_RUNTIME_DIR=$runtime_dir \
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS \
  "$test_binary" "$@"
status=$?
exit $status
