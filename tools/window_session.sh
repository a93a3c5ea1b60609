#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the screenshot scripts: runs the scenario read from standard input against the real
# program under a virtual X server, in a scratch folder that holds a copy of the data folder. The
# scenario has $bin and $out set and the pointer, key, dialog and screenshot actions of
# drive_window.sh at hand.
# Usage: tools/window_session.sh <vork binary> <data folder> <output folder> < scenario
# Needs xvfb-run, xdotool, xwd and ImageMagick (all installed by scripts/setup.sh).
set -euo pipefail
# A sanitized build checks for leaks at exit; those inside system libraries are suppressed.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "$0")/../tests" && pwd)/lsan.supp:print_suppressions=0}
export QT_QPA_PLATFORM=xcb
bin=$(realpath "$1") data=$(realpath "$2") out=$(realpath -m "$3")
tools=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" && cp -r "$data" "$work/data"
cd "$work"
export CONVERT=$(command -v convert-im6.q16 || command -v convert)

{
  echo 'set -euo pipefail'
  echo 'bin=$1 out=$2'
  echo 'source "$3/drive_window.sh"'
  cat
} > inner.sh
xvfb-run -a -s "-screen 0 1280x800x24" bash ${TRACE:+-x} inner.sh "$bin" "$out" "$tools"
ls "$out"
