#!/usr/bin/env bash
# Takes the README's screenshots of the real window, on a private X server with the openbox
# window manager and Qt's own style, after a deal:
#   docs/screenshot-scale2.png   at QT_SCALE_FACTOR=2 (a screen of twice the density)
#   docs/screenshot-fitted.png   maximised on a 1920 x 1080 screen with Fit Cards to Window on
# Builds the game in ./build first. Needs Xvfb, xdotool, x11-utils, openbox and imagemagick
# (apt-get install openbox imagemagick).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TARNWELL_BUILD:-build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target tarnwell >/dev/null
game=$PWD/$build/app/tarnwell

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
# Openbox maximises the game's window as soon as it is mapped when asked to.
cat >"$work/maximised.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <applications><application title="Tarnwell"><maximized>yes</maximized></application></applications>
</openbox_config>
EOF
cat >"$work/plain.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc"><applications/></openbox_config>
EOF

# shoot NAME SCREEN OPENBOX-CONFIG INI [environment...]
shoot() {
  local name=$1 screen=$2 config=$3 ini=$4
  shift 4
  local display_file="$work/display" home="$work/$name"
  mkdir -p "$home/config/Tarnwell" "$home/runtime"
  chmod 700 "$home/runtime"
  printf '%b' "$ini" >"$home/config/Tarnwell/Tarnwell.ini"
  : >"$display_file"
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  local xvfb=$!
  for _ in $(seq 200); do [ -s "$display_file" ] && break; sleep 0.05; done
  export DISPLAY=":$(tr -dc '0-9' <"$display_file")"
  openbox --config-file "$work/$config" --sm-disable >/dev/null 2>&1 &
  local wm=$!
  sleep 1
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS \
    QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME= QT_STYLE_OVERRIDE= XDG_CONFIG_HOME="$home/config" \
    XDG_CACHE_HOME="$home/cache" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime" "$@" "$game" >/dev/null 2>&1 &
  local app=$!
  local window=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Tarnwell$' 2>/dev/null | tail -1) && [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "no window for $name" >&2; exit 1; }
  sleep 1
  xdotool windowactivate --sync "$window" key F2
  # The deal, then the cards of the window's size drawn in the background.
  sleep 4
  import -window root "$work/$name-screen.png"
  # The window with its frame: the frame is the top-level child of the root holding it.
  local frame=$window
  while :; do
    local parent
    parent=$(xwininfo -children -id "$frame" | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p')
    [ "$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')" = "$parent" ] && break
    frame=$parent
  done
  eval "$(xwininfo -id "$frame" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4}
                                        /Width:/ {print "w=" $2} /Height:/ {print "h=" $2}')"
  convert "$work/$name-screen.png" -crop "${w}x${h}+${x}+${y}" +repage "docs/$name.png"
  echo "docs/$name.png: ${w}x${h}"
  kill "$app" "$wm" "$xvfb"
  wait "$app" "$wm" "$xvfb" 2>/dev/null || true
}

shoot screenshot-scale2 2560x1600 plain.xml "" QT_SCALE_FACTOR=2
shoot screenshot-fitted 1920x1080 maximised.xml "[Display]\nFitToWindow=1\n"
