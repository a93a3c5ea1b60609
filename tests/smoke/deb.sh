#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of the build folder with CPack, checks what it holds, unpacks it
# and runs the unpacked binary from a folder without "data" under a virtual X server.
# Usage: deb.sh <build folder> <work folder>
set -euo pipefail
# A sanitized build checks for leaks at exit; those inside system libraries are suppressed.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan.supp:print_suppressions=0}
export QT_QPA_PLATFORM=xcb
build=$1 work=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work" && mkdir -p "$work/empty" "$work/config" "$work/home" "$work/unpacked"
(cd "$build" && cpack -G DEB -B "$work/package" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/package/*.deb | head -n 1)

fail=0
check() { if ! eval "$1"; then echo "FAILED: $2"; fail=1; else echo "ok: $2"; fi; }
dpkg-deb -c "$deb" > "$work/contents.txt"
for f in usr/bin/vork usr/share/vork/instrument.png usr/share/vork/deflpal.lpal \
         usr/share/applications/vork.desktop usr/share/metainfo/io.github.vork.vork.metainfo.xml \
         usr/share/mime/packages/vork.xml usr/share/icons/hicolor/32x32/apps/vork.png \
         usr/share/doc/vork/copyright; do
  check 'grep -q "\./$f\$" "$work/contents.txt"' "the package holds $f"
done
check 'dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6' "its dependencies come from the library scan: $(dpkg-deb -f "$deb" Depends | cut -c1-80)..."
dpkg-deb -x "$deb" "$work/unpacked"

cat > "$work/inner.sh" <<INNER
set -uo pipefail
source "$here/lib.sh"
cd "$work/empty"
export XDG_CONFIG_HOME="$work/config" HOME="$work/home"
"$work/unpacked/usr/bin/vork" > "$work/run.out" 2>&1 &
pid=\$!
id=\$(window_of \$pid)
[ -n "\$id" ] && echo shown > "$work/shown"
terminate \$pid > "$work/run.exit"
INNER
xvfb-run -a -s "-screen 0 1280x800x24 -noreset" bash "$work/inner.sh"
check '[ -f "$work/shown" ]' "the unpacked program shows its window"
check '[ "$(cat "$work/run.exit")" = 0 ]' "and closes with status 0 ($(cat "$work/run.exit"))"
check '[ -s "$work/config/vork/property.txt" ]' "its settings go to the user's folder"
exit $fail
