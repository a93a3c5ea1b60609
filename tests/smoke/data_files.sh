#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the real program under a virtual X server with damaged or odd data files and closes it
# with SIGTERM: it must start without blocking, never write over anything but a regular file,
# keep an unreadable palette aside, and say on standard error and in its exit status when a
# file could not be written.
# Usage: data_files.sh <vork binary> <data folder> <work folder>
set -euo pipefail
# A sanitized build checks for leaks at exit; those inside system libraries are suppressed.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan.supp:print_suppressions=0}
export QT_QPA_PLATFORM=xcb
bin=$1 data=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
cd "$work"

# One run: start in folder $1, wait for the window, SIGTERM, wait at most 5 s for the exit.
cat > run_one.sh <<'INNER'
set -uo pipefail
bin=$1 folder=$2
cd "$folder"
start=$(date +%s%N)
"$bin" > out.txt 2> err.txt &
pid=$!
id=""
for _ in $(seq 1 100); do
  id=$(xwininfo -root -tree 2>/dev/null | grep -E '"(vork|  Animator[^"]*)"' | awk '{print $1}' | head -n 1 || true)
  [ -n "$id" ] && break
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
[ -n "$id" ] && echo shown > shown.txt
sleep 0.5
kill -TERM $pid 2>/dev/null
for _ in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then echo hung > exit.txt; kill -KILL $pid; wait $pid; exit 0; fi
rc=0; wait $pid || rc=$?
echo "$rc" > exit.txt
INNER

fresh() { rm -rf "$1" && mkdir -p "$1" && cp -r "$data" "$1/data"; }

# A FIFO in place of the big palette, a link to a character device in place of the small one.
fresh odd
rm odd/data/defbpal.bpal odd/data/deflpal.lpal
mkfifo odd/data/defbpal.bpal
if [ "$(id -u)" -eq 0 ] && mknod odd/device c 1 3 2>/dev/null; then device=$PWD/odd/device; else device=/dev/null; fi
ln -s "$device" odd/data/deflpal.lpal
# An immutable settings file, where the file system lets us make one.
immutable=no
if [ "$(id -u)" -eq 0 ] && chattr +i odd/data/property.txt 2>/dev/null; then immutable=yes; fi
cp odd/data/property.txt settings.before 2>/dev/null || true

# A palette saved as UTF-16: unreadable, so kept aside before the defaults are written.
fresh utf16
printf 'p\0a\0l\0\n\0001\0 \0002\0 \0003\0 \0004\0\n\0' > utf16/data/deflpal.lpal
cp utf16/data/deflpal.lpal utf16.before

xvfb-run -a -s "-screen 0 1280x800x24 -noreset" bash -c "bash run_one.sh '$bin' '$PWD/odd'; bash run_one.sh '$bin' '$PWD/utf16'"
[ "$immutable" = yes ] && chattr -i odd/data/property.txt

fail=0
check() { if ! eval "$1"; then echo "FAILED: $2"; fail=1; else echo "ok: $2"; fi; }
today=$(date +%Y-%m-%d)
check '[ -f odd/shown.txt ]' "the window appears although a data file is a FIFO"
check '[ "$(cat odd/exit.txt)" != hung ]' "the close under SIGTERM ends by itself ($(cat odd/exit.txt))"
check '[ "$(cat odd/exit.txt)" != 0 ]' "a file that could not be written gives a non-zero status"
check '[ -p odd/data/defbpal.bpal ]' "the FIFO is still a FIFO"
check '[ -L odd/data/deflpal.lpal ] && [ -c "$device" ]' "the link and the device are untouched"
check 'grep -q defbpal.bpal odd/err.txt && grep -q deflpal.lpal odd/err.txt' "standard error names both files"
if [ "$immutable" = yes ]; then
  check 'cmp -s odd/data/property.txt settings.before' "the immutable settings file is intact"
  check 'grep -q property.txt odd/err.txt' "standard error names the settings file"
else
  echo "skipped: an immutable file (needs root and a file system with chattr)"
fi
check '[ -f utf16/shown.txt ]' "the window appears with an unreadable palette"
check '[ "$(cat utf16/exit.txt)" = 0 ]' "everything else written: status 0 ($(cat utf16/exit.txt))"
check 'cmp -s utf16/data/deflpal.lpal.unreadable-$today utf16.before' "the unreadable palette is kept under its dated name"
check 'grep -q "unreadable-$today" utf16/err.txt' "standard error says where it was kept"
check '[ "$(wc -l < utf16/data/deflpal.lpal)" -eq 176 ]' "the defaults are written in its place"
[ $fail -eq 0 ] || { echo "--- odd/err.txt"; cat odd/err.txt; echo "--- utf16/err.txt"; cat utf16/err.txt; }
exit $fail
