#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds one fuzz target for fuzzing and runs it from a folder in memory.
#
# Usage: fuzz/run.sh <target> <seconds> [largest new input to keep, in bytes]
#
# Configures build/fuzz with clang and VORK_FUZZ (coverage, ASan and UBSan in every library),
# builds only the target, copies its corpus into a fresh folder under /dev/shm and fuzzes there
# for the given time, with TMPDIR pointing into that folder so the harness's scratch files stay
# in memory too. With a size limit, the inputs found that add coverage to the saved corpus and
# are no larger than the limit are kept in build/fuzz/new-inputs/<target>/ for review. Crashes
# are kept in build/fuzz/artifacts/<target>/. The memory folder is removed at the end.
set -euo pipefail
usage="usage: fuzz/run.sh <target> <seconds> [max bytes of new inputs to keep]"
target=${1:?$usage}
seconds=${2:?$usage}
add_limit=${3:-0}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORK_FUZZ_BUILD:-$root/build/fuzz}
ram=${VORK_FUZZ_RAM:-/dev/shm}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVORK_FUZZ=ON > /dev/null
cmake --build "$build" --target "$target" -j "${JOBS:-2}"
corpus=$(cat "$build/fuzz/$target.corpus")
fuzzer="$build/fuzz/$target"
artifacts="$build/artifacts/$target"
mkdir -p "$artifacts"

work=$(mktemp -d "$ram/vork-fuzz-$target.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$work/tmp"
cp "$corpus"/* "$work/corpus/"
echo "fuzzing $target for $seconds s in $work"

TMPDIR="$work/tmp" "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$artifacts/" "$work/corpus"

if [ "$add_limit" -gt 0 ]; then
  # Keep what adds coverage to the saved corpus; libFuzzer takes the smallest inputs first.
  mkdir "$work/merged"
  cp "$corpus"/* "$work/merged/"
  TMPDIR="$work/tmp" "$fuzzer" -merge=1 "$work/merged" "$work/corpus" 2> "$work/merge.log" ||
    { cat "$work/merge.log"; exit 1; }
  kept="$build/new-inputs/$target"
  mkdir -p "$kept"
  count=0
  for input in "$work/merged"/*; do
    name=$(basename "$input")
    [ -e "$corpus/$name" ] && continue
    if [ "$(stat -c %s "$input")" -le "$add_limit" ]; then
      cp "$input" "$kept/$name"
      count=$((count + 1))
    fi
  done
  echo "$count new inputs of at most $add_limit bytes in $kept"
fi
