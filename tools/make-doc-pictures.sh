#!/usr/bin/env bash
# Makes the README's pictures from a bundled sample, so that they show the
# program as it is built today:
#   docs/window.png    the main window at 1366 x 768, run on a virtual X
#                      display (Xvfb) and photographed with ImageMagick's import
#   docs/log-page.png  the log page the batch tool's --plot draws
# It builds nothing: give it a build folder that holds bin/quillmere and
# bin/quillmere-cli.
#
#   bash tools/make-doc-pictures.sh BUILD [OUT_DIR]
#
# OUT_DIR defaults to docs/ of this checkout. QM_XVFB_DISPLAY=N uses display
# :N; without it Xvfb picks a free one. Needs Xvfb, xdotool and ImageMagick
# (tools/install-deps.sh installs them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ "$#" -ge 1 ] || { echo "usage: $0 BUILD [OUT_DIR]" >&2; exit 2; }
build=$(cd "$1" && pwd)
out=${2:-$root/docs}
sample=$root/data/samples/sample-older.cpt
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is missing (bash tools/install-deps.sh)" >&2; exit 1; }
done
for program in quillmere quillmere-cli; do
  [ -x "$build/bin/$program" ] || { echo "$0: no $build/bin/$program: build it first" >&2; exit 1; }
done
mkdir -p "$out"

scratch=$(mktemp -d)
xvfb_pid="" window_pid=""
finish() {
  [ -n "$window_pid" ] && kill "$window_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap finish EXIT

# The pictures should not depend on who makes them: fresh settings, the
# point decimal, and a fixed "log made" day (the sample's own date) so that
# an unchanged program gives unchanged files.
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/runtime
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export LC_ALL=C.UTF-8 LANG=C.UTF-8 QM_TODAY=2021-04-27
# Small, stable PNGs: no time stamps, a palette of at most 256 colours.
shrink() { convert "$1" "${@:3}" -strip -define png:exclude-chunks=date,time -colors 256 "PNG8:$2"; }

# ---- The log page ----
"$build/bin/quillmere-cli" "$sample" --plot "$scratch/log.png" 2>/dev/null
shrink "$scratch/log.png" "$out/log-page.png" -resize 1000x

# ---- The window ----
if [ -n "${QM_XVFB_DISPLAY:-}" ]; then
  display=$QM_XVFB_DISPLAY
  Xvfb ":$display" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  sleep 1
else
  Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
  display=$(cat "$scratch/display")
fi
export DISPLAY=:$display QT_QPA_PLATFORM=xcb
kill -0 "$xvfb_pid" 2>/dev/null || { echo "$0: Xvfb did not start on :$display" >&2; exit 1; }

"$build/bin/quillmere" "$sample" >/dev/null 2>&1 &
window_pid=$!
timeout 20 xdotool search --sync --onlyvisible --class quillmere >/dev/null \
  || { echo "$0: the window did not show" >&2; exit 1; }
# Opening the sample may bring a message (the sample's drill-out): answer
# each with Return until the main window is alone for a second.
alone=0
for _ in $(seq 40); do
  windows=$(xdotool search --onlyvisible --class quillmere 2>/dev/null | wc -l)
  if [ "$windows" -gt 1 ]; then
    xdotool key Return
    alone=0
  else
    alone=$((alone + 1))
    [ "$alone" -ge 4 ] && break
  fi
  sleep 0.25
done
[ "$alone" -ge 4 ] || { echo "$0: a message box stays open" >&2; exit 1; }
# View > Go to Depth 3.5 m, so that the cursor line and the page's band sit
# inside the profile rather than at its top edge.
main=$(xdotool search --onlyvisible --class quillmere | head -1)
xdotool windowfocus --sync "$main"
xdotool key ctrl+g
sleep 1
xdotool type 3.5
xdotool key Return
sleep 1
import -window root "$scratch/window.png"
shrink "$scratch/window.png" "$out/window.png"

ls -l "$out/window.png" "$out/log-page.png"
