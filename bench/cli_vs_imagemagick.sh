#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The cost of the command line against ImageMagick on the same large animated GIF: time and
# peak memory of --info, of one frame, of every frame to PNG files and of GIF -> GIF, each
# beside ImageMagick doing the same, with vork's figure as a ratio of ImageMagick's. Every
# command runs REPEAT times and the fastest run is shown, with its peak memory.
#
# Usage: bench/cli_vs_imagemagick.sh <vork binary> <make_big_gif binary> [folder]
#   FRAMES, WIDTH, HEIGHT (783, 640, 421) size the GIF; REPEAT (3) the runs.
# The folder (a fresh one under /tmp by default) holds the GIF, a .gelm made from it and the
# outputs; about 2 GB for the default size. It is removed at the end unless given.
set -euo pipefail
usage="usage: bench/cli_vs_imagemagick.sh <vork binary> <make_big_gif binary> [folder]"
root=$(cd "$(dirname "$0")/.." && pwd)
vork=$(realpath "${1:?$usage}")
make_gif=$(realpath "${2:?$usage}")
frames=${FRAMES:-783} width=${WIDTH:-640} height=${HEIGHT:-421} repeat=${REPEAT:-3}
# ImageMagick itself, whatever else a PATH puts first.
identify=/usr/bin/identify convert=/usr/bin/convert
for tool in "$identify" "$convert" /usr/bin/time; do
  [[ -x $tool ]] || { echo "missing $tool (scripts/setup.sh installs it)" >&2; exit 1; }
done
if [[ -n ${3:-} ]]; then
  work=$3 keep=1
  mkdir -p "$work"
else
  work=$(mktemp -d /tmp/vork-cli-bench.XXXXXX) keep=0
fi
cleanup() { [[ $keep == 1 ]] || rm -rf "$work"; }
trap cleanup EXIT
cd "$work"
mkdir -p data out
# A palette file where the command line looks, so that no notice is timed.
cp "$root/data/deflpal.lpal" data/

[[ -f big.gif ]] || "$make_gif" big.gif "$frames" "$width" "$height"
[[ -f big.gelm ]] || "$vork" --convert big.gif big.gelm > /dev/null
printf 'GIF: %d frames of %d x %d, %s; .gelm: %s\n' "$frames" "$width" "$height" \
  "$(du -h big.gif | cut -f1)" "$(du -h big.gelm | cut -f1)"

# Runs a command REPEAT times; prints "<seconds> <peak KiB>" of the fastest run.
measure() {
  local best="" line
  for ((i = 0; i < repeat; i++)); do
    rm -rf out && mkdir out
    line=$(/usr/bin/time -f '%e %M' "$@" 2>&1 > /dev/null | tail -1)
    if [[ -z $best ]] || awk -v a="${line% *}" -v b="${best% *}" 'BEGIN { exit !(a < b) }'; then
      best=$line
    fi
  done
  echo "$best"
}

# One row: what is measured, vork's command, ImageMagick's command (both as strings).
row() {
  local what=$1 vt vm mt mm
  read -r vt vm <<< "$(measure bash -c "$2")"
  if [[ -n $3 ]]; then
    read -r mt mm <<< "$(measure bash -c "$3")"
    awk -v w="$what" -v vt="$vt" -v vm="$vm" -v mt="$mt" -v mm="$mm" 'BEGIN {
      printf "%-30s vork %7.2f s %8.1f MiB   ImageMagick %7.2f s %8.1f MiB   ratio %5.2f time %5.2f memory\n",
        w, vt, vm / 1024, mt, mm / 1024, (mt > 0 ? vt / mt : 0), vm / mm }'
  else
    awk -v w="$what" -v vt="$vt" -v vm="$vm" 'BEGIN {
      printf "%-30s vork %7.2f s %8.1f MiB\n", w, vt, vm / 1024 }'
  fi
}

row "--info GIF" "'$vork' --info big.gif" "'$identify' big.gif"
row "--info .gelm" "'$vork' --info big.gelm" ""
row "one frame: .gelm --frame 100" "'$vork' --convert big.gelm out/f.png --frame 100" \
  "'$convert' 'big.gif[99]' out/f.png"
row "one frame: GIF --frame 100" "'$vork' --convert big.gif out/f.png --frame 100" \
  "'$convert' 'big.gif[99]' out/f.png"
row "GIF -> PNG frames" "'$vork' --convert big.gif out/f.png" \
  "'$convert' big.gif -coalesce out/f%03d.png"
row "GIF -> GIF" "'$vork' --convert big.gif out/g.gif" "'$convert' big.gif out/g.gif"
