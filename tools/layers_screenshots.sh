#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives the real program under a virtual X server the way a user would: in each mode it makes
# a document, draws three rectangles on three layers, drags the top layer to the bottom, hides
# one layer, lowers the opacity of another and swaps a colour through a replacement pair, and
# takes screenshots along the way.
# Usage: tools/layers_screenshots.sh <vork binary> <data folder> <output folder>
# Needs xvfb-run, xdotool, xwd and ImageMagick (all installed by scripts/setup.sh).
set -euo pipefail
exec bash "$(dirname "$0")/window_session.sh" "$@" <<'SCENARIO'

# $1 = mode: the places of the mode's panels at a client area of 1000 x 700.
scenario() {
  local mode=$1
  if [ "$mode" = animator ]; then
    X=780; barH=605; palX=92; palY=533; pairTop=$((533 + 8))
    rowBottom=557; buttonY=558; opacityY=579
    docX=286; docY=134; pickColumn=20
  else
    X=780; barH=675; palX=91; palY=603; pairTop=$((603 + 9))
    rowBottom=584; buttonY=585; opacityY=605
    docX=285; docY=151; pickColumn=30
  fi
  grid() { # entry of the small palette -> click it
    local c=$(( ($1 - 3) / 3 )) r=$(( ($1 - 3) % 3 ))
    click $((palX + 54 + 18 * c + 9)) $((palY + 9 + 18 * r + 9))
  }
  newLayer() { click $((X + 55)) $((buttonY + 7)); }
  row() { echo $((rowBottom - 40 * $1 - 20)); } # centre y of row i
  # A new document through the dialog of the mode.
  click 22 83; sleep 1; accept "New"
  click 46 $((barH - 204)) # the filled rectangle tool
  grid 9  # red
  dragFrom $((docX + 20)) $((docY + 20)) $((docX + 100)) $((docY + 100)) $((docX + 160)) $((docY + 170))
  newLayer
  grid 10 # green
  dragFrom $((docX + 100)) $((docY + 80)) $((docX + 180)) $((docY + 160)) $((docX + 250)) $((docY + 240))
  newLayer
  grid 11 # blue
  dragFrom $((docX + 130)) $((docY + 30)) $((docX + 200)) $((docY + 100)) $((docX + 280)) $((docY + 130))
  shot "$mode-1-three-layers.png"
  # The top layer (blue) dragged onto the bottom row goes below it.
  dragFrom $((X + 160)) $(row 2) $((X + 160)) $(( $(row 1) )) $((X + 160)) $(( $(row 0) + 5 ))
  shot "$mode-2-reordered.png"
  click $((X + 28)) $(row 1)                 # hide the middle layer (red)
  click $((X + 160)) $(row 2)                # the top layer (green) becomes current
  click $((X + 65 + 55)) $((opacityY + 8))   # its opacity lowered to about 140
  click $((X + 160)) $(row 0)                # the bottom layer (blue) becomes current
  click $((palX + 15)) $((pairTop + 7))      # the replacement view, with the colour pick
  click $((palX + 40)) $((pairTop + 7))      # the first colour of pair 0 is chosen ...
  click $((docX + 200)) $((docY + 60))       # ... and picked from the blue rectangle
  click $((palX + 40)) $((pairTop + 47))     # the second colour of pair 0, twice: the picker
  click $((palX + 40)) $((pairTop + 47))
  click $((102 + 11 + 12 * pickColumn + 6)) $((273 + 35 + 12 * 4 + 6))
  shot "$mode-3-picker.png"
  click $((102 + 11 + 12 * pickColumn + 6)) $((273 + 35 + 12 * 4 + 6)) # applied
  click $((palX + 40)) $((pairTop + 27))     # replace: blue becomes the new colour
  shot "$mode-4-replaced.png"
  click $((palX + 15)) $((pairTop + 7))      # back to the main view
  shot "$mode-5-final.png"
}

scenario animator
key g
scenario painter
kill -TERM $pid
wait $pid || true
SCENARIO
