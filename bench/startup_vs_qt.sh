#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up to the first frame of a mapped window: the editor against two Qt programs that open
# a window of the same size and quit once it has painted (bench/startup/baseline.cpp): a minimal
# one, and one that also loads every image plugin, the font list and one PNG (the tool sheet)
# and paints the picture and a line of text. The editor is told to quit the same way by
# VORK_QUIT_AFTER_FIRST_FRAME=1 (qt/main.cpp): it leaves its event loop once the client area
# has painted its first frame, asking and saving nothing. Every program runs REPEAT times, the
# three in turn, under one virtual X server started beforehand; each is timed from the start of
# the process to its end, in wall time and in processor time (user and system; steadier on a
# busy machine). Prints min and median of each, and the editor's as ratios of the baselines'.
#
# Usage: bench/startup_vs_qt.sh <vork binary> <startup_baseline binary>
#   REPEAT (15) the runs of each program.
# Needs xvfb-run (scripts/setup.sh installs it).
set -euo pipefail
usage="usage: bench/startup_vs_qt.sh <vork binary> <startup_baseline binary>"
root=$(cd "$(dirname "$0")/.." && pwd)
vork=$(realpath "${1:?$usage}")
baseline=$(realpath "${2:?$usage}")
repeat=${REPEAT:-15}
work=$(mktemp -d /tmp/vork-startup-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
# The editor starts in a folder with a copy of the data folder and user folders of its own, so
# that nothing of the user's is read or written.
cp -r "$root/data" "$work/data"
cd "$work"

cat > inner.sh <<'INNER'
set -euo pipefail
vork=$1 baseline=$2 repeat=$3
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$PWD/config XDG_STATE_HOME=$PWD/state
# "<wall ms> <cpu ms>": from the start of the command to its end, and the processor time (user
# and system) it took; the command must succeed. The processor time is that of the finished
# children, as the builtin `times` tells it in this shell (a subshell's children are its own).
timed() {
  local start=$EPOCHREALTIME end
  times > before.txt
  "$@" > /dev/null 2>&1
  end=$EPOCHREALTIME
  times > after.txt
  awk -v a="$start" -v b="$end" '
    function seconds(t) { gsub("s", "", t); split(t, p, "m"); return p[1] * 60 + p[2] }
    FNR == 2 { cpu[FILENAME] = seconds($1) + seconds($2) }
    END { printf "%.1f %.1f\n", (b - a) * 1000, (cpu["after.txt"] - cpu["before.txt"]) * 1000 }
  ' before.txt after.txt
}
# One run of each, unmeasured, so that every file is in the page cache.
timed "$baseline" > /dev/null
timed "$baseline" --full data/instrument.png > /dev/null
VORK_QUIT_AFTER_FIRST_FRAME=1 timed "$vork" > /dev/null
for ((i = 0; i < repeat; i++)); do
  echo "minimal $(timed "$baseline")"
  echo "full $(timed "$baseline" --full data/instrument.png)"
  echo "vork $(VORK_QUIT_AFTER_FIRST_FRAME=1 timed "$vork")"
done
INNER
xvfb-run -a -s "-screen 0 1280x800x24" bash inner.sh "$vork" "$baseline" "$repeat" > times.txt

# min and median of one program's times, column 2 (wall) or 3 (processor).
stats() {
  grep "^$1 " times.txt | cut -d' ' -f"$2" | sort -g |
    awk '{ t[NR] = $1 } END { m = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2;
           printf "%.1f %.1f\n", t[1], m }'
}
for column in 2 3; do
  kind=$([[ $column == 2 ]] && echo "wall" || echo "processor")
  read -r minMin minMed <<< "$(stats minimal $column)"
  read -r fullMin fullMed <<< "$(stats full $column)"
  read -r vorkMin vorkMed <<< "$(stats vork $column)"
  printf '%-38s %10s %10s\n' "$kind time to first frame, $repeat runs" "min ms" "median ms"
  printf '%-38s %10s %10s\n' "minimal Qt window" "$minMin" "$minMed"
  printf '%-38s %10s %10s\n' "Qt window + plugins, fonts, PNG" "$fullMin" "$fullMed"
  printf '%-38s %10s %10s\n' "vork" "$vorkMin" "$vorkMed"
  awk -v v="$vorkMin" -v w="$vorkMed" -v a="$minMin" -v b="$minMed" -v c="$fullMin" -v d="$fullMed" \
    'BEGIN { printf "%-38s %10.2f %10.2f\n", "vork / minimal window", v / a, w / b;
             printf "%-38s %10.2f %10.2f\n\n", "vork / window + plugins, fonts, PNG", v / c, w / d }'
done
