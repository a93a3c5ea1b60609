#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the licence identifier at the top of every source file that lacks it: a "//" line over
# the C++ sources of the program, the tests, the benchmarks, the fuzz targets and the tools, a
# "#" line over the shell scripts, the CMake lists and the Makefile (under a "#!" line where
# there is one). A file that already names its licence in its first lines is left alone, so a
# second run changes nothing. Prints each file it changed.
# Usage: scripts/spdx.sh
set -euo pipefail
cd "$(dirname "$0")/.."
id="SPDX-License-Identifier: GPL-3.0-or-later"

levels=$(sed -n 's/^set(VORK_LEVELS \(.*\))$/\1/p' CMakeLists.txt)
[ -n "$levels" ] || { echo "no VORK_LEVELS in CMakeLists.txt" >&2; exit 1; }

# Adds "$2 $id" to file $1: after its first line when that is a "#!" line, else first.
mark() {
  local file=$1 comment=$2
  head -n 3 "$file" | grep -q "SPDX-License-Identifier:" && return 0
  local tmp
  tmp=$(mktemp)
  if head -n 1 "$file" | grep -q '^#!'; then
    { head -n 1 "$file"; echo "$comment $id"; tail -n +2 "$file"; } > "$tmp"
  else
    { echo "$comment $id"; cat "$file"; } > "$tmp"
  fi
  # Keep the file's own mode (scripts stay executable).
  cat "$tmp" > "$file"
  rm -f "$tmp"
  echo "$file"
}

# The script marks itself too, and bash reads a script as it runs: the whole work is one
# function, called from the last line, so bash has read everything before the file changes.
main() {
  # shellcheck disable=SC2086 # the levels are one word each
  find $levels tests bench fuzz tools -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
    while IFS= read -r -d '' f; do mark "$f" "//"; done
  find . -path ./build -prune -o -path ./.git -prune -o -type f \
    \( -name '*.sh' -o -name CMakeLists.txt -o -name '*.cmake' \) -print0 | sort -z |
    while IFS= read -r -d '' f; do mark "${f#./}" "#"; done
  for f in Makefile .ci/run; do
    [ -f "$f" ] && mark "$f" "#"
  done
}

main "$@"; exit
