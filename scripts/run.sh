#!/usr/bin/env bash
# Installs what is missing, builds RYX Creator (Release) and runs it.
#   scripts/run.sh               starts the editor with the demo song's conversion dialog ready
#   scripts/run.sh FILE          starts the editor with FILE (.mid/.midi/.rmi to convert, .ryx to edit)
#   scripts/run.sh ARGS...       runs ryxtool with these arguments (convert, dump, set, events, preview)
# Without a display the editor cannot open: the demo song (or FILE.mid) is converted with ryxtool
# instead, and a FILE.ryx is printed as JSON.
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$ROOT/scripts/setup.sh"
mkdir -p "$ROOT/build"
BUILD_TARGETS="ryxtool ryx-creator" configure_and_build build/release -DCMAKE_BUILD_TYPE=Release \
  -DRYX_BUILD_TESTS=OFF >/dev/null

RYXTOOL="$ROOT/build/release/src/cli/ryxtool"
EDITOR="$ROOT/build/release/src/app/ryx-creator"
has_display() {
  [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || [ "${QT_QPA_PLATFORM:-}" = offscreen ]
}
is_midi() { [[ "${1,,}" == *.mid || "${1,,}" == *.midi || "${1,,}" == *.rmi ]]; }

if [ $# -le 1 ] && [[ $# -eq 0 || "${1,,}" == *.ryx ]] || { [ $# -eq 1 ] && is_midi "$1"; }; then
  file="${1:-$ROOT/data/demo.mid}"
  if has_display; then
    exec "$EDITOR" "$file"
  fi
  echo "run.sh: no display, so the editor cannot open; doing its work with ryxtool instead" >&2
  if [[ "${file,,}" == *.ryx ]]; then
    exec "$RYXTOOL" dump "$file"
  elif [ $# -eq 0 ]; then
    exec "$RYXTOOL" convert "$file" -o "$ROOT/build/demo.ryx"
  else
    exec "$RYXTOOL" convert "$file"
  fi
fi
exec "$RYXTOOL" "$@"
