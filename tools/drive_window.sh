# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the screenshot scripts: sourced inside their xvfb-run session with $bin (the
# program) and $out (the folder for the shots) set, it starts the program, sizes its window to a
# 1000 x 700 client area and gives the pointer, key, dialog and screenshot actions in client
# coordinates.
"$bin" > vork.out 2>&1 &
pid=$!
id=""
for _ in $(seq 1 100); do
  id=$(xwininfo -root -tree 2>/dev/null | grep -E '"(vork|  Animator[^"]*)"' | awk '{print $1}' | head -n 1 || true)
  [ -n "$id" ] && break
  sleep 0.1
done
[ -n "$id" ] || { echo "no window appeared"; cat vork.out; exit 1; }
sleep 1
height() { xwininfo -id "$id" | awk '/Height:/ {h = $2} END {print h}'; }
top=$(( $(height) - 494 )) # the menu bar above the 713 x 494 client area
xdotool windowsize "$id" 1000 $((700 + top))
sleep 1
xdotool windowfocus "$id" || true
# Pointer actions in client coordinates.
at() { xdotool mousemove --window "$id" "$1" $(($2 + top)); sleep 0.15; }
click() { at "$1" "$2"; xdotool click 1; sleep 0.3; }
press() { at "$1" "$2"; xdotool mousedown 1; sleep 0.3; }
release() { xdotool mouseup 1; sleep 0.3; }
dragFrom() { press "$1" "$2"; at "$3" "$4"; sleep 0.2; at "$5" "$6"; release; }
key() { xdotool windowfocus "$id" || true; xdotool key "$1"; sleep 0.5; }
# Presses Enter in the dialog whose title starts with $1.
accept() {
  local dialog=""
  for _ in $(seq 1 50); do
    dialog=$(xwininfo -root -tree | grep -E "\"$1[^\"]*\"" | awk '{print $1}' | head -n 1 || true)
    [ -n "$dialog" ] && break
    sleep 0.1
  done
  [ -n "$dialog" ] || { echo "no dialog $1"; exit 1; }
  xdotool windowfocus "$dialog" || true
  xdotool key Return
  sleep 1
}
# Without `still`, a small move first, as a user's hand makes: the window paints again.
shot() {
  [ "${2:-}" = still ] || { xdotool mousemove_relative 1 1; sleep 0.5; }
  xwd -id "$id" -silent > shot.xwd
  "$CONVERT" shot.xwd -crop 1000x700+0+"$top" +repage "$out/$1"
}
