#!/usr/bin/env bash
# Builds and runs the benchmarks.
set -euo pipefail
cd "$(dirname "$0")"
source cmake/Deps.sh
tarnwell_install_packages
tarnwell_configure_build build
QT_QPA_PLATFORM=offscreen ./build/bench/tarnwell_bench "$@"
