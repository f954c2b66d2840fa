#!/usr/bin/env bash
# Builds the saved-game fuzz target with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# and runs it for SECONDS over a corpus seeded from fuzz/corpus/. Any crash, leak or sanitizer
# report fails the run; the input that caused it is left in the build folder.
#
#   fuzz/run-fuzz.sh SECONDS            (build folder: build-fuzz, or $TARNWELL_FUZZ_BUILD)
set -euo pipefail

if [[ $# -ne 1 || ! $1 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SECONDS" >&2
  exit 2
fi
seconds=$1
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${TARNWELL_FUZZ_BUILD:-$root/build-fuzz}
jobs=${TARNWELL_FUZZ_JOBS:-2}

command -v clang++ >/dev/null || { echo "clang++ is needed (Debian: clang libclang-rt-14-dev)" >&2; exit 1; }
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)

cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fuzz_load_game -j "$jobs"

# New inputs go to the build folder's corpus; the committed seeds are only read.
corpus=$build/corpus
artifacts=$build/artifacts
mkdir -p "$corpus" "$artifacts"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
"$build/fuzz_load_game" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -dict="$here/twl.dict" -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" "$here/corpus"
