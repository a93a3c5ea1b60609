#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the program into a fresh prefix and runs the installed binary from a folder without
# "data" under a virtual X server: it must find its resources in the prefix, copy the shipped
# defaults into the user's configuration folder on the first run, write them there on close,
# and draw every logical pixel as a 2 x 2 square with VORK_SCALE=2. The desktop entry and the
# metadata must pass their validators.
# Usage: install.sh <build folder> <work folder>
set -euo pipefail
# A sanitized build checks for leaks at exit; those inside system libraries are suppressed.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan.supp:print_suppressions=0}
export QT_QPA_PLATFORM=xcb
build=$1 work=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work" && mkdir -p "$work/empty" "$work/config" "$work/home"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log"

source "$here/lib.sh"
fail=0
check() { if ! eval "$1"; then echo "FAILED: $2"; fail=1; else echo "ok: $2"; fi; }
for f in bin/vork share/vork/instrument.png share/vork/property.txt share/vork/defbpal.bpal \
         share/vork/deflpal.lpal share/applications/vork.desktop \
         share/metainfo/io.github.vork.vork.metainfo.xml share/mime/packages/vork.xml \
         share/icons/hicolor/16x16/apps/vork.png share/icons/hicolor/48x48/apps/vork.png \
         share/icons/hicolor/256x256/apps/vork.png share/doc/vork/copyright; do
  check '[ -f "$prefix/$f" ]' "installed $f"
done
check 'desktop-file-validate "$prefix/share/applications/vork.desktop"' "the desktop entry validates"
if command -v appstreamcli > /dev/null; then
  check 'appstreamcli validate --no-net "$prefix/share/metainfo/io.github.vork.vork.metainfo.xml" > /dev/null' "the metainfo validates"
fi
check 'xmllint --noout "$prefix/share/mime/packages/vork.xml" 2>/dev/null || python3 -c "import xml.dom.minidom,sys; xml.dom.minidom.parse(sys.argv[1])" "$prefix/share/mime/packages/vork.xml"' "the MIME definitions are well-formed XML"

cat > "$work/inner.sh" <<INNER
set -uo pipefail
source "$here/lib.sh"
cd "$work/empty"
export XDG_CONFIG_HOME="$work/config" HOME="$work/home"
"$prefix/bin/vork" > "$work/run1.out" 2>&1 &
pid=\$!
id=\$(window_of \$pid)
[ -n "\$id" ] && { sleep 1; grab "\$id" "$work/scale1.png"; }
terminate \$pid > "$work/run1.exit"
VORK_SCALE=2 "$prefix/bin/vork" > "$work/run2.out" 2>&1 &
pid=\$!
id=\$(window_of \$pid)
[ -n "\$id" ] && { sleep 1; grab "\$id" "$work/scale2.png"; }
terminate \$pid > "$work/run2.exit"
INNER
xvfb-run -a -s "-screen 0 1600x1200x24 -noreset" bash "$work/inner.sh"

check '[ -f "$work/scale1.png" ]' "the installed program shows its window from a folder without data"
check '[ "$(cat "$work/run1.exit")" = 0 ]' "it closes with status 0 ($(cat "$work/run1.exit"))"
check '[ ! -e "$work/empty/data" ]' "nothing is written into the working folder"
for f in property.txt defbpal.bpal deflpal.lpal; do
  check '[ -s "$work/config/vork/$f" ]' "the user's $f is in \$XDG_CONFIG_HOME/vork"
done
check '[ "$(wc -l < "$work/config/vork/deflpal.lpal")" -eq 176 ]' "the small palette written there is whole"

if [ -f "$work/scale2.png" ] && [ -f "$work/scale1.png" ]; then
  read -r w1 h1 < "$work/scale1.png.size"
  read -r w2 h2 < "$work/scale2.png.size"
  check '[ "$w2" -eq $((2 * w1)) ]' "at scale 2 the window is twice as wide ($w1 -> $w2)"
  # The client area is the bottom part of the window, under the menu bar.
  top1=$((h1 - 494)) top2=$((h2 - 988))
  for p in "300 150" "0 200" "600 100" "600 300" "300 399"; do
    read -r x y <<< "$p"
    a=$(rgb_at "$work/scale1.png" "$x" $((y + top1)))
    same=1
    for dx in 0 1; do for dy in 0 1; do
      [ "$(rgb_at "$work/scale2.png" $((2 * x + dx)) $((2 * y + dy + top2)))" = "$a" ] || same=0
    done; done
    check '[ $same -eq 1 ]' "logical pixel ($x, $y) = $a is a 2 x 2 square at scale 2"
  done
else
  check 'false' "both windows were grabbed"
fi
exit $fail
