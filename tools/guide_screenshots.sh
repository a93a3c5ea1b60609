#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the screenshots of the user guide (docs/guide.md) from the real program under a virtual
# X server, by running the two scripts that drive it as a user would, and copies the ones the
# guide shows into docs/guide/.
# Usage: tools/guide_screenshots.sh <vork binary> [<data folder>]
# Needs xvfb-run, xdotool, xwd and ImageMagick (all installed by scripts/setup.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(realpath "$1") data=$(realpath "${2:-$here/../data}")
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
bash "$here/layers_screenshots.sh" "$bin" "$data" "$shots"
bash "$here/animator_screenshots.sh" "$bin" "$data" "$shots"
bash "$here/view_screenshots.sh" "$bin" "$data" "$shots"
bash "$here/export_screenshots.sh" "$bin" "$data" "$shots"
guide="$here/../docs/guide"
mkdir -p "$guide"
cp "$shots/painter-5-final.png" "$guide/painter-layers.png"
cp "$shots/painter-3-picker.png" "$guide/colour-picker.png"
cp "$shots/animator-4-replaced.png" "$guide/replacement-pairs.png"
cp "$shots/animator-5-strip.png" "$guide/animator-strip.png"
cp "$shots/animator-3-frame-delay-popup.png" "$guide/delay-popup.png"
cp "$shots/view-2-grid-and-status.png" "$guide/status-and-grid.png"
cp "$shots/animator-4-frame-drag.png" "$guide/frame-drag.png"
cp "$shots/export-1-scale-dialog.png" "$guide/export-scale.png"
echo "screenshots in $guide"
