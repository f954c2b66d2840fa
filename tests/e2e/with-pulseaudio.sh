#!/bin/bash
# Runs a command beside a private PulseAudio server whose only output is a FIFO, so a test can
# hear what is played. The server has its own folder, socket and configuration, never spawns
# or reaches a user's session server, and is stopped with everything it made when the command ends.
#
# Usage: with-pulseaudio.sh COMMAND [arguments...]
# The command gets PULSE_SERVER (the private socket), TARNWELL_SOUND_FIFO (what the sink writes:
# signed 16-bit little-endian mono) and TARNWELL_SOUND_RATE (its sample rate).
# Exits with the command's status, or 77 (a skip for ctest) where the server cannot start.
set -u

if [ $# -lt 1 ]; then
  echo "usage: $0 COMMAND [arguments...]" >&2
  exit 2
fi
if ! command -v pulseaudio >/dev/null 2>&1; then
  echo "SKIP: pulseaudio is not installed" >&2
  exit 77
fi

rate=44100
folder=$(mktemp -d "${TMPDIR:-/tmp}/tarnwell-sound.XXXXXX")
chmod 700 "$folder"
server_pid=""
cleanup() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
  fi
  rm -rf "$folder"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -m 700 "$folder/runtime" "$folder/home" "$folder/state"
fifo=$folder/sink.fifo
socket=$folder/runtime/native
mkfifo "$fifo"
# No client of this server ever starts one of its own.
printf 'autospawn = no\n' >"$folder/client.conf"

# Everything the server would read or write lives in the folder: no session bus (it would start
# one on the X display), no real-time or priority requests, no shared memory left behind. Should
# this script be killed before it can stop the server, the server ends by itself after a minute
# without clients.
env -u DISPLAY -u WAYLAND_DISPLAY \
  HOME="$folder/home" XDG_RUNTIME_DIR="$folder/runtime" XDG_CONFIG_HOME="$folder/home/.config" \
  XDG_STATE_HOME="$folder/state" PULSE_RUNTIME_PATH="$folder/runtime/pulse" PULSE_STATE_PATH="$folder/state" \
  PULSE_CLIENTCONFIG="$folder/client.conf" DBUS_SESSION_BUS_ADDRESS="unix:path=$folder/no-bus" \
  pulseaudio -n --daemonize=no --system=no --use-pid-file=no --exit-idle-time=60 \
    --realtime=no --high-priority=no --disable-shm=yes --log-target=stderr \
    --load="module-pipe-sink file=$fifo format=s16le rate=$rate channels=1 use_system_clock_for_timing=yes" \
    --load="module-native-protocol-unix socket=$socket auth-anonymous=1" \
    >"$folder/server.log" 2>&1 &
server_pid=$!

# Ready once its socket is there; a server that ends or takes over five seconds did not start.
deadline=$((SECONDS + 5))
until [ -S "$socket" ]; do
  if ! kill -0 "$server_pid" 2>/dev/null || [ "$SECONDS" -ge "$deadline" ]; then
    echo "SKIP: PulseAudio did not start:" >&2
    cat "$folder/server.log" >&2
    exit 77
  fi
  sleep 0.05
done

# Its clients take their cookie from the folder too, rather than make one in the user's home.
PULSE_SERVER="unix:$socket" PULSE_CLIENTCONFIG="$folder/client.conf" PULSE_COOKIE="$folder/cookie" \
  TARNWELL_SOUND_FIFO="$fifo" TARNWELL_SOUND_RATE="$rate" "$@"
status=$?
if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
  echo "--- the sound server's log ---" >&2
  grep -v -e 'not intended to be run as root' -e 'cookie' -e 'D-Bus' "$folder/server.log" >&2
fi
exit $status
