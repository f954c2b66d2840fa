# Shared set-up for run.sh and test.sh: the Debian packages the game builds and runs with.
# Installs only what is missing; runs apt-get update only when something is.
TARNWELL_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev qt6-multimedia-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-documentation-tools
  qt6-qpa-plugins libqt6svg6 libqt6sql6-sqlite
  libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev libx11-dev libfontconfig-dev
  gnome-cards-data fonts-dejavu-core fonts-dejavu-extra
  xvfb xauth xdotool x11-utils desktop-file-utils appstream libxml2-utils shared-mime-info
  dbus-daemon dbus-bin at-spi2-core python3-pyatspi
  pulseaudio
)

tarnwell_install_packages() {
  local missing=()
  for p in "${TARNWELL_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

tarnwell_configure_build() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$dir" -j2
}
