#!/usr/bin/env bash
# Builds everything and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
source cmake/Deps.sh
tarnwell_install_packages
tarnwell_configure_build build
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j2
