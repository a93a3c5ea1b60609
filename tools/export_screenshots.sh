#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives the real program under a virtual X server: it makes a small animation of three frames,
# opens the Animator menu's sprite-sheet export, takes a screenshot of the export scale dialog,
# gives it a scale of 4 and a padding of 2, names the sheet and checks the sheet written is the
# enlarged size.
# Usage: tools/export_screenshots.sh <vork binary> <data folder> <output folder>
# Needs xvfb-run, xdotool, xwd and ImageMagick (all installed by scripts/setup.sh).
set -euo pipefail
# A copy of the data folder whose settings make a new animation 24 x 16.
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
cp -r "$2"/. "$data"
printf 'Размеры растра:\r\n24 16\r\n40 30' | iconv -f UTF-8 -t CP1251 > "$data/property.txt"
bash "$(dirname "$0")/window_session.sh" "$1" "$data" "$3" <<'SCENARIO'
barH=605 toolbar=614
# A new animation through its dialog, then three frames of a growing filled ellipse.
click 22 83; sleep 1; accept "New"
click 22 $((barH - 204))
for i in 0 1 2; do
  dragFrom 426 260 430 264 $((434 + 3 * i)) $((267 + 2 * i))
  [ "$i" -lt 2 ] && click 175 $toolbar
done
# The Animator menu, its sprite-sheet item (the sixth), and the dialog before the export.
xdotool mousemove --window "$id" 30 $((top / 2)); xdotool click 1; sleep 0.5
for _ in 1 2 3 4 5 6; do xdotool key Down; sleep 0.1; done
xdotool key Return; sleep 1
dialog=$(xwininfo -root -tree | grep -E '"  Масштаб экспорта"' | awk '{print $1}' | head -n 1)
[ -n "$dialog" ] || { echo "no export scale dialog"; exit 1; }
xdotool windowfocus "$dialog" || true
xdotool key ctrl+a; xdotool type --delay 50 4; xdotool key Tab; sleep 0.2
xdotool key ctrl+a; xdotool type --delay 50 2; sleep 0.5
xwd -id "$dialog" -frame -silent > dialog.xwd
"$CONVERT" dialog.xwd "$out/export-1-scale-dialog.png"
xdotool key Return; sleep 1
xdotool type --delay 50 "$PWD/sheet.png"; xdotool key Return; sleep 2
[ -f sheet.png ] || { echo "no sheet written"; cat vork.out; exit 1; }
# Three cells of 96 x 64, 2 pixels apart: two columns and two rows, 194 x 130.
size=$(identify -format '%w x %h' sheet.png)
echo "sheet: $size"
[ "$size" = "194 x 130" ] || { echo "the sheet is $size, not 194 x 130"; exit 1; }
cp sheet.png "$out/export-2-sheet.png"
kill -TERM $pid
wait $pid || true
SCENARIO
