#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives the real program under a virtual X server: in the Painter it makes a small picture,
# draws into it, saves it, zooms in with the mouse wheel, switches the pixel grid on, draws once
# more and takes a screenshot of the grid and of the status strip with the pointer on a pixel.
# Usage: tools/view_screenshots.sh <vork binary> <data folder> <output folder>
# Needs xvfb-run, xdotool, xwd and ImageMagick (all installed by scripts/setup.sh).
set -euo pipefail
# A copy of the data folder whose settings make a new picture 40 x 30.
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
cp -r "$2"/. "$data"
printf 'Размеры растра:\r\n300 264\r\n40 30' | iconv -f UTF-8 -t CP1251 > "$data/property.txt"
bash "$(dirname "$0")/window_session.sh" "$1" "$data" "$3" <<'SCENARIO'
key g # the Painter
key ctrl+n; accept "New" # a new 40 x 30 picture, the size the settings give
palX=91; palY=603
grid() { # entry of the small palette -> click it
  local c=$(( ($1 - 3) / 3 )) r=$(( ($1 - 3) % 3 ))
  click $((palX + 54 + 18 * c + 9)) $((palY + 9 + 18 * r + 9))
}
# Pictures are centred in the canvas (91, 0, 689 x 603): at 100 % the 40 x 30 picture lies at
# (415, 286). The wheel zooms in at the pointer, eight steps: 800 % at 9 steps from 100 %.
at 435 301
for _ in 1 2 3 4 5 6 7; do xdotool click 4; sleep 0.3; done
shot view-1-zoomed.png
grid 9 # red
click 46 $((675 - 204)) # the filled rectangle tool
dragFrom 300 200 380 260 460 330
grid 11 # blue
click 70 545 # the pencil
dragFrom 470 340 520 360 560 400
key q
# Saved under a name: the status strip shows it.
key ctrl+shift+s; sleep 1
xdotool type --delay 50 "$PWD/sprite.trnl"; xdotool key Return; sleep 1
click 46 $((675 - 204))
dragFrom 480 190 530 200 580 230 # one more change: the unsaved mark
at 430 290
shot view-2-grid-and-status.png still
kill -TERM $pid
wait $pid || true
SCENARIO
