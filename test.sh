#!/usr/bin/env bash
# Builds everything and runs every test headless: the whole suite, then the engine's tests
# (with the soak test) once more under AddressSanitizer and UndefinedBehaviorSanitizer.
#   ./test.sh              everything
#   ./test.sh --quick      the normal build's tests only
set -euo pipefail
cd "$(dirname "$0")"
source cmake/Deps.sh
tarnwell_install_packages
tarnwell_configure_build build
export QT_QPA_PLATFORM=offscreen

if [ "${1:-}" != "--quick" ]; then
  echo "== Engine tests under AddressSanitizer and UndefinedBehaviorSanitizer"
  # Optimised a little and with line tables only: half the compile time of the product's flags,
  # and stack traces still name files and lines.
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
    -DTARNWELL_SANITIZE=ON >/dev/null
  cmake --build build-asan -j2 --target test_engine test_cards test_solver
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  # A fifth of the soak's games here: the normal build below plays them all.
  TARNWELL_SOAK_GAMES=400 ctest --test-dir build-asan --output-on-failure -R '^(engine|cards|solver)$'

  if command -v clang++ >/dev/null 2>&1; then
    echo "== Fuzzing the saved-game reader for 45 seconds"
    fuzz/run-fuzz.sh 45
  fi
fi

echo "== The whole suite"
ctest --test-dir build --output-on-failure -j2
