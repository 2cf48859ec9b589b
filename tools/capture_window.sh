#!/usr/bin/env bash
# Runs the real editor under Xvfb, converts the demo song with the keyboard (Enter, Enter),
# chooses the first track's notes (Ctrl+A), turns the beat lines on and captures the screen into docs/: the conversion
# dialog ready, the main window with the tools palette after the conversion (measure numbers, the track list's
# colours, a note's details in the status line), and a moment of test-play.
# Needs xvfb, xdotool and imagemagick (apt-get install xvfb xauth xdotool imagemagick).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
EDITOR="${1:-$ROOT/build/release/src/app/ryx-creator}"
OUT="$ROOT/docs"
mkdir -p "$OUT"
CONFIG="$(mktemp -d)"
trap 'kill "$APP" "$XVFB" 2>/dev/null || true; rm -rf "$CONFIG"' EXIT

export DISPLAY=:97
Xvfb "$DISPLAY" -screen 0 1000x690x24 -dpi 96 >/dev/null 2>&1 &
XVFB=$!
sleep 1
XDG_CONFIG_HOME="$CONFIG" "$EDITOR" "$ROOT/data/demo.mid" >/dev/null 2>&1 &
APP=$!
sleep 3
import -window root "$OUT/convert-dialog.png"
xdotool key Return
sleep 2
xdotool key Return
sleep 1
MAIN="$(xdotool search --name 'RYX Creator - \[demo' | head -1)"
xdotool windowfocus "$MAIN"
xdotool key ctrl+a
xdotool key alt+v
sleep 0.3
xdotool key b  # View > Beat Lines
sleep 1
xdotool mousemove 35 461  # over a note of the first track: its details in the status line
sleep 0.5
import -window root "$OUT/main-window.png"
xdotool mousemove 300 300 click 1
xdotool key F7  # test-play, after its two-second lead-in
sleep 3.2
xdotool keydown s
sleep 0.2
import -window root "$OUT/test-play.png"
xdotool keyup s key Escape
echo "captured $OUT/convert-dialog.png, $OUT/main-window.png and $OUT/test-play.png"
