#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the real program under a virtual X server: it must start, show the Animator layout at
# its start-up size, and write its settings and palettes when asked to close.
# Usage: smoke.sh <vork binary> <data folder> <work folder>
set -euo pipefail
# A sanitized build checks for leaks at exit; those inside system libraries are suppressed.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan.supp:print_suppressions=0}
# A real window on the virtual X server, whatever the other tests use.
export QT_QPA_PLATFORM=xcb
bin=$1 data=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cp -r "$data" "$work/data"
rm -f "$work/data/property.txt" "$work/data/defbpal.bpal" "$work/data/deflpal.lpal"
cd "$work"
# ImageMagick itself, not any wrapper that may stand in front of it on the PATH.
export CONVERT=$(command -v convert-im6.q16 || command -v convert)

cat > inner.sh <<'INNER'
set -euo pipefail
bin=$1
"$bin" > vork.out 2>&1 &
pid=$!
# Wait for the window to be mapped and painted.
id=""
for _ in $(seq 1 100); do
  id=$(xwininfo -root -tree 2>/dev/null | grep -E '"(vork|  Animator[^"]*)"' | awk '{print $1}' | head -n 1 || true)
  [ -n "$id" ] && break
  sleep 0.1
done
[ -n "$id" ] || { echo "no window appeared"; cat vork.out; kill $pid; exit 1; }
sleep 2
xwd -id "$id" -silent > window.xwd
"$CONVERT" window.xwd window.png
geometry=$(xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
echo "$geometry" > geometry.txt
kill -TERM $pid
for _ in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
rc=0; wait $pid || rc=$?; echo "exit=$rc" > exit.txt
INNER
xvfb-run -a -s "-screen 0 1280x800x24 -noreset" bash inner.sh "$bin"

fail=0
check() { if ! eval "$1"; then echo "FAILED: $2"; fail=1; else echo "ok: $2"; fi; }
read -r W H < geometry.txt
top=$((H - 494)) # the client area is the bottom 713 x 494 of the window, under the menu bar
rgb() { "$CONVERT" window.png -format "%[fx:int(255*p{$1,$(($2 + top))}.r)],%[fx:int(255*p{$1,$(($2 + top))}.g)],%[fx:int(255*p{$1,$(($2 + top))}.b)]" info:; }
check '[ "$W" -eq 713 ]' "window is 713 wide (got $W)"
check '[ "$(cat exit.txt)" = "exit=0" ]' "closed with exit code 0 ($(cat exit.txt))"
check '[ "$(rgb 300 150)" = "128,128,128" ]' "canvas panel grey at (300, 150): $(rgb 300 150)"
check '[ "$(rgb 300 0)" = "0,0,0" ]' "canvas top line at (300, 0): $(rgb 300 0)"
check '[ "$(rgb 300 395)" = "212,208,200" ]' "palette panel under its swatches at (300, 395): $(rgb 300 395)"
check '[ "$(rgb 0 200)" = "0,0,0" ]' "command bar outline at (0, 200): $(rgb 0 200)"
check '[ "$(rgb 45 150)" = "212,208,200" ]' "command bar tool box at (45, 150): $(rgb 45 150)"
check '[ "$(rgb 600 100)" = "212,208,200" ]' "preview box at (600, 100): $(rgb 600 100)"
check '[ "$(rgb 600 300)" = "230,230,230" ]' "layer list at (600, 300): $(rgb 600 300)"
check '[ "$(rgb 300 399)" = "0,0,0" ]' "frame strip top line at (300, 399): $(rgb 300 399)"
check '[ "$(rgb 300 450)" = "212,208,200" ]' "frame strip at (300, 450): $(rgb 300 450)"
check '[ -s data/property.txt ]' "settings written"
check '[ -s data/defbpal.bpal ]' "big palette written"
check '[ -s data/deflpal.lpal ]' "small palette written"
check '[ "$(wc -l < data/deflpal.lpal)" -eq 176 ]' "small palette has 177 lines"
exit $fail
