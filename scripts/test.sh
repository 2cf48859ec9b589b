#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   1. a Debug build of the whole project: unit tests, command tests, fuzz seed replays;
#   2. a core-only build under AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. the playback engine and its tests under ThreadSanitizer.
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
# The renders run inside FluidSynth, whose OpenMP helpers the sanitizer cannot see into; the
# engine's own threads are what this build is for.
ctest --test-dir "$ROOT/build/tsan" --output-on-failure -j "$JOBS" -E '^Render\.'

