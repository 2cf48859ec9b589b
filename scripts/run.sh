#!/usr/bin/env bash
# Installs what is missing, builds RYX Creator (Release) and runs it.
#   scripts/run.sh               converts the demo song to build/demo.ryx
#   scripts/run.sh FILE.mid      converts that MIDI file to FILE.ryx beside it
#   scripts/run.sh FILE.ryx      prints that chart as JSON
#   scripts/run.sh ARGS...       runs ryxtool with these arguments
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$ROOT/scripts/setup.sh"
mkdir -p "$ROOT/build"
BUILD_TARGETS=ryxtool configure_and_build build/release -DCMAKE_BUILD_TYPE=Release -DRYX_BUILD_TESTS=OFF >/dev/null

RYXTOOL="$ROOT/build/release/src/cli/ryxtool"
if [ $# -eq 0 ]; then
  exec "$RYXTOOL" convert "$ROOT/data/demo.mid" -o "$ROOT/build/demo.ryx"
elif [ $# -eq 1 ] && [[ "${1,,}" == *.ryx ]]; then
  exec "$RYXTOOL" dump "$1"
elif [ $# -eq 1 ] && [[ "${1,,}" == *.mid || "${1,,}" == *.midi || "${1,,}" == *.rmi ]]; then
  exec "$RYXTOOL" convert "$1"
else
  exec "$RYXTOOL" "$@"
fi
