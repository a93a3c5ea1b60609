# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the smoke runs: run the real program under the virtual X server of xvfb-run.
# Source it inside the xvfb-run session. The scripts start the server with -noreset: by
# default it resets when its last client leaves, and a program started again just then (after
# a kill, or the next run of a sequence) finds no display.

# The window id of the program once it is mapped, or nothing after 10 s (or once it exited).
window_of() {
  local pid=$1 id=""
  for _ in $(seq 1 100); do
    id=$(xwininfo -root -tree 2>/dev/null | grep -E '"(vork|  (Animator|Painter)[^"]*)"' | awk '{print $1}' | head -n 1 || true)
    [ -n "$id" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "$id"
}

# The id of the first window whose title starts with the extended regular expression, or
# nothing after 10 s. Dialogs are found this way, and the main window among them by its title.
window_titled() {
  local pattern=$1 found=""
  for _ in $(seq 1 100); do
    found=$(xwininfo -root -tree 2>/dev/null | grep -E "^ *0x[0-9a-f]+ \"$pattern" | awk '{print $1}' | head -n 1 || true)
    [ -n "$found" ] && break
    sleep 0.1
  done
  echo "$found"
}

# Grabs the window into a PNG and writes its width and height to <png>.size.
grab() {
  local id=$1 png=$2 convert
  convert=$(command -v convert-im6.q16 || command -v convert)
  xwd -id "$id" -silent > "$png.xwd"
  "$convert" "$png.xwd" "$png"
  xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}' > "$png.size"
}

# Sends SIGTERM and waits at most 5 s; prints the exit status, or "hung" (then kills it).
terminate() {
  local pid=$1 rc=0
  kill -TERM "$pid" 2>/dev/null
  for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid"; wait "$pid" 2>/dev/null; echo hung; return; fi
  wait "$pid" || rc=$?
  echo "$rc"
}

# The colour "r,g,b" of pixel (x, y) of a PNG.
rgb_at() {
  local png=$1 x=$2 y=$3 convert
  convert=$(command -v convert-im6.q16 || command -v convert)
  "$convert" "$png" -format "%[fx:int(255*p{$x,$y}.r)],%[fx:int(255*p{$x,$y}.g)],%[fx:int(255*p{$x,$y}.b)]" info:
}
