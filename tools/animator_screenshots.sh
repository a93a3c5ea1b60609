#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives the real program under a virtual X server the way a user would: it makes an animation
# of a ball rolling over fifteen frames, gives one frame its own delay from the frame-delay
# pop-up and all of them another from the default-delay pop-up, switches a frame off, turns the
# onion skin on, drags a frame to another place and plays the animation, taking screenshots
# along the way.
# Usage: tools/animator_screenshots.sh <vork binary> <data folder> <output folder>
# Needs xvfb-run, xdotool, xwd and ImageMagick (all installed by scripts/setup.sh).
set -euo pipefail
exec bash "$(dirname "$0")/window_session.sh" "$@" <<'SCENARIO'

# The places at a client area of 1000 x 700: the 300 x 264 animation at zoom 1, the strip's
# toolbar and cells.
docX=286 docY=134 barH=605 toolbar=614 cells=622
cellX() { echo $((65 * $1)); }
# A new animation through its dialog, and the filled-ellipse tool.
click 22 83; sleep 1; accept "New"
click 22 $((barH - 204))
# A ball rolling right and bouncing: one frame each, the next made with the strip's new button.
bounce=(0 40 70 90 100 90 70 40 0 40 70 90 100 90 70)
for i in $(seq 0 14); do
  x=$((docX + 20 + 16 * i)) y=$((docY + 130 - ${bounce[$i]}))
  dragFrom $x $y $((x + 20)) $((y + 20)) $((x + 45)) $((y + 45))
  [ "$i" -lt 14 ] && click 175 $toolbar
done
shot animator-1-fifteen-frames.png
# The default-delay pop-up, then "0.05" for every frame.
click 100 $toolbar
at $((50 + 20)) $((barH - 218 + 5 + 18 * 4 + 9))
shot animator-2-default-delay-popup.png still
click $((50 + 20)) $((barH - 218 + 5 + 18 * 4 + 9))
# The frame-delay pop-up of the fourth cell, held open by its press, then "0.5 сек" chosen.
press $(( $(cellX 3) + 45 )) $((cells + 10))
at $(( $(cellX 3) + 20 )) $((cells - 100))
shot animator-3-frame-delay-popup.png still
at $(( $(cellX 3) + 51 + 20 )) $((cells - 218 + 5 + 18 * 4 + 9))
release
# The sixth frame switched off, the onion skin on.
click $(( $(cellX 5) + 16 )) $((cells + 10))
key w
click $(( $(cellX 8) + 62 )) $((cells + 10))
# The second frame dragged right onto the seventh: the drop mark, then the move.
press $(( $(cellX 1) + 40 )) $((cells + 50))
at $(( $(cellX 4) + 40 )) $((cells + 50))
at $(( $(cellX 6) + 40 )) $((cells + 50))
shot animator-4-frame-drag.png still
release
shot animator-5-strip.png
# Playing forwards with the space bar.
key space
for n in 1 2 3; do
  sleep 0.13
  shot animator-6-playing-$n.png still
done
key space
shot animator-7-stopped.png
kill -TERM $pid
wait $pid || true
SCENARIO
