#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks every C++ source of the program, the tests, the benchmarks, the fuzz targets and the
# tools against .clang-format and for its SPDX licence line, and names each file that fails.
# With --fix, formats them in place instead.
# Usage: scripts/check-format.sh [--fix]
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format=${CLANG_FORMAT:-clang-format}
command -v "$clang_format" > /dev/null ||
  { echo "$clang_format is not installed (scripts/setup.sh installs it)" >&2; exit 1; }

# The program's folders are the levels the build is made from; the rest sit beside them.
levels=$(sed -n 's/^set(VORK_LEVELS \(.*\))$/\1/p' CMakeLists.txt)
[ -n "$levels" ] || { echo "no VORK_LEVELS in CMakeLists.txt" >&2; exit 1; }
# shellcheck disable=SC2086 # the levels are one word each
mapfile -d '' files < <(find $levels tests bench fuzz tools -type f \( -name '*.cpp' -o -name '*.h' \) \
  -print0 | sort -z)

if [ "${1:-}" = --fix ]; then
  "$clang_format" -i "${files[@]}"
  echo "formatted ${#files[@]} files"
  exit 0
fi
differ=()
for f in "${files[@]}"; do
  "$clang_format" --dry-run --Werror "$f" 2> /dev/null || differ+=("$f")
done
# Every source names its licence in its first lines (scripts/spdx.sh adds the line).
unlicensed=()
for f in "${files[@]}"; do
  head -n 3 "$f" | grep -q "SPDX-License-Identifier:" || unlicensed+=("$f")
done
if [ ${#unlicensed[@]} -gt 0 ]; then
  printf '%s\n' "${unlicensed[@]}"
  echo "${#unlicensed[@]} files have no SPDX licence line (scripts/spdx.sh adds it)" >&2
  exit 1
fi
if [ ${#differ[@]} -gt 0 ]; then
  printf '%s\n' "${differ[@]}"
  echo "${#differ[@]} of ${#files[@]} files differ from .clang-format (make format formats them)" >&2
  exit 1
fi
echo "all ${#files[@]} files match .clang-format"
