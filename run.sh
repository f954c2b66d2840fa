#!/usr/bin/env bash
# Builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source cmake/Deps.sh
tarnwell_install_packages
tarnwell_configure_build build
exec ./build/app/tarnwell "$@"
