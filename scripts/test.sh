#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   1. a Debug build of the whole project: unit tests, command tests, fuzz seed replays;
#   2. a core-only build under AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. the playback engine and its tests under ThreadSanitizer;
#   4. the libFuzzer targets built with clang, each run for 20 seconds from its seeds.
# Exits non-zero when any build or test fails.
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$ROOT/scripts/setup.sh"
mkdir -p "$ROOT/build"
JOBS="$(nproc 2>/dev/null || echo 2)"
export QT_QPA_PLATFORM=offscreen

echo "== Debug build and tests"
configure_and_build build/debug -DCMAKE_BUILD_TYPE=Debug
ctest --test-dir "$ROOT/build/debug" --output-on-failure -j "$JOBS"

echo "== Sanitizer build (core) and tests"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
configure_and_build build/asan -DCMAKE_BUILD_TYPE=Debug -DRYX_CORE_ONLY=ON -DRYX_SANITIZE=ON
ctest --test-dir "$ROOT/build/asan" --output-on-failure -j "$JOBS"

echo "== ThreadSanitizer build (playback) and tests"
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
BUILD_TARGETS=playback_tests configure_and_build build/tsan -DCMAKE_BUILD_TYPE=Debug -DRYX_TSAN=ON -DRYX_BUILD_BENCH=OFF
# FluidSynth loads SoundFonts with OpenMP helper threads that the sanitizer cannot see into:
# one OpenMP thread keeps the loading on the caller's thread. The engine's worker, the queue
# and the audio callback (a real-time sound card thread in the tests) are all covered.
OMP_NUM_THREADS=1 ctest --test-dir "$ROOT/build/tsan" --output-on-failure -j "$JOBS"


echo "== Fuzz targets (clang, libFuzzer), 20 seconds each from their seeds"
CC=clang-14 CXX=clang++-14 configure_and_build build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRYX_FUZZ=ON \
  -DRYX_CORE_ONLY=ON -DRYX_BUILD_TESTS=OFF -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
for seeds in "$ROOT"/fuzz/corpus/*/; do
  target="$(basename "$seeds")"
  # New inputs go to a scratch folder; the seeds in the repository stay as they are.
  found="$ROOT/build/fuzz/found/$target"
  mkdir -p "$found"
  "$ROOT/build/fuzz/fuzz/$target" -max_total_time=20 -print_final_stats=0 -artifact_prefix="$found/" \
    "$found" "$seeds" >"$ROOT/build/fuzz/$target.log" 2>&1 || {
    tail -n 40 "$ROOT/build/fuzz/$target.log" >&2
    echo "fuzz target $target found a fault; the input is in $found" >&2
    exit 1
  }
  echo "$target: $(grep -o "Done [0-9]* runs" "$ROOT/build/fuzz/$target.log" || true), no fault"
done
