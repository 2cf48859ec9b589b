#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   1. a Debug build of the whole project: unit tests, command tests, fuzz seed replays;
#   2. a core-only build under AddressSanitizer and UndefinedBehaviorSanitizer.
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
