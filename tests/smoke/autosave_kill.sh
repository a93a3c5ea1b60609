#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Nothing is lost when the program is killed: the real program under a virtual X server draws a
# line, keeps its copy of the unsaved animation, and is killed with SIGKILL in the middle of the
# next stroke. The copy left behind holds the first line and nothing of the stroke under way.
# Started again, the program offers the animation back; restored, it shows the line, and a
# stroke drawn then is in the copy the moment SIGTERM ends the program.
# Usage: autosave_kill.sh <vork binary> <data folder> <work folder>
set -euo pipefail
# A sanitized build checks for leaks at exit; those inside system libraries are suppressed.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan.supp:print_suppressions=0}
export QT_QPA_PLATFORM=xcb
bin=$(realpath "$1") data=$(realpath "$2") work=$(realpath -m "$3")
here=$(cd "$(dirname "$0")" && pwd)
command -v xdotool > /dev/null || { echo "skipped: xdotool is not installed (scripts/setup.sh installs it)"; exit 77; }
rm -rf "$work" && mkdir -p "$work" && cp -r "$data" "$work/data"
cd "$work"

cat > inner.sh <<'INNER'
set -euo pipefail
bin=$1 here=$2
source "$here/lib.sh"
# Places at a client area of 1000 x 700 in Animator mode: the new-document button and the
# top-left corner of a 300 x 264 animation at zoom 1.
newX=22 newY=83 docX=286 docY=134

start() {
  "$bin" > "out-$1.txt" 2> "err-$1.txt" &
  pid=$!
  # By the main window's title: the question at start is a window of the program too.
  id=$(window_titled "  (Animator|Painter)")
  [ -n "$id" ] || { echo "no window appeared"; cat "err-$1.txt"; exit 1; }
  sleep 1
  top=$(( $(xwininfo -id "$id" | awk '/^  Height:/ {print $2}') - 494 )) # the menu bar
  xdotool windowsize "$id" 1000 $((700 + top))
  sleep 1
}
at() { xdotool mousemove --window "$id" "$1" $(($2 + top)); sleep 0.1; }
# A stroke of the pencil along row $1 of the document, from column $2 to column $3.
press() { at $((docX + $2)) $((docY + $1)); xdotool mousedown 1; sleep 0.2; }
along() { for x in $(seq "$2" 10 "$3"); do at $((docX + x)) $((docY + $1)); done; }
stroke() { press "$1" "$2"; along "$1" "$2" "$3"; xdotool mouseup 1; sleep 0.5; }
# Waits for a window whose title starts with $1 and presses Enter in it.
accept() {
  local dialog
  dialog=$(window_titled "$1")
  [ -n "$dialog" ] || { echo "no dialog \"$1\""; exit 1; }
  xdotool windowfocus "$dialog" || true
  xdotool key Return
  sleep 1
}
copies() { ls data/recovery/animation-*.gelm 2> /dev/null || true; }

# First run: a new animation, one line, its copy, then a kill in the middle of a stroke.
start first
at $newX $newY; xdotool click 1; sleep 0.5
accept "New"
stroke 30 20 120
echo "drawn at $(date +%s)" > timeline.txt
for _ in $(seq 1 450); do [ -n "$(copies)" ] && break; sleep 0.1; done
echo "copy at $(date +%s): $(copies)" >> timeline.txt
press 60 20
along 60 20 120
kill -KILL "$pid"
wait "$pid" 2> /dev/null || true
xdotool mouseup 1
copies > first-copy.txt
cp "$(copies)" killed.gelm

# Second run: the question, restored, the line on the canvas; a stroke, then SIGTERM.
start second
accept "Восстановление"
xdotool mousemove_relative 1 1; sleep 0.5
grab "$id" restored.png
echo "$top" > top.txt
stroke 90 20 120
terminate "$pid" > exit.txt
copies > copies-after.txt
INNER

xvfb-run -a -s "-screen 0 1280x800x24 -noreset" bash inner.sh "$bin" "$here"

source "$here/lib.sh"
alpha_at() { "$(command -v convert-im6.q16 || command -v convert)" "$1" -format "%[fx:int(255*p{$2,$3}.a)]" info:; }
fail=0
check() { if ! eval "$1"; then echo "FAILED: $2"; fail=1; else echo "ok: $2"; fi; }

check '[ -f killed.gelm ]' "a copy was written while the first run drew ($(cat timeline.txt | tr '\n' ' '))"
"$bin" --convert killed.gelm killed.png 2> convert.err || true
check '[ -f killed001.png ]' "the copy left by the killed run reads as an animation ($(cat convert.err))"
check '[ "$(rgb_at killed001.png 70 30)" = 0,0,0 ] && [ "$(alpha_at killed001.png 70 30)" = 255 ]' \
  "the copy holds the line drawn before the kill"
check '[ "$(alpha_at killed001.png 70 60)" = 0 ]' "and nothing of the stroke the kill cut short"
check '[ -z "$(ls data/recovery/*.saving-* 2> /dev/null)" ]' "no half-written file is left"

top=$(cat top.txt)
check '[ "$(rgb_at restored.png 356 $((top + 164)))" = 0,0,0 ]' "the restored animation shows the line"
check '[ "$(rgb_at restored.png 356 $((top + 194)))" != 0,0,0 ]' "and not the cut-short stroke"
check '[ "$(cat exit.txt)" = 0 ]' "SIGTERM ends the second run with status 0 ($(cat exit.txt))"
after=$(cat copies-after.txt)
check '[ "$(echo "$after" | wc -w)" = 1 ] && [ "$after" != "$(cat first-copy.txt)" ]' \
  "one copy is left: the restored animation's, now the second run's own ($after)"
"$bin" --convert "$after" after.png 2> /dev/null || true
check '[ "$(rgb_at after001.png 70 30)" = 0,0,0 ] && [ "$(rgb_at after001.png 70 90)" = 0,0,0 ]' \
  "the copy written at SIGTERM holds the restored line and the stroke drawn after"
check '[ "$(alpha_at after001.png 70 60)" = 0 ]' "and still nothing of the cut-short stroke"
if [ $fail -ne 0 ]; then
  for f in err-first.txt err-second.txt; do echo "--- $f"; cat "$f"; done
  ls -la data/recovery
fi
exit $fail
