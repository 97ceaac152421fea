#!/bin/sh
# A broken wing named on the command line: its message box appears, and the
# program stays usable: Ctrl-O then opens a good wing.
set -u
. "$(dirname "$0")/lib/common.sh"

head -n 12 "$examples/wing12.cpi" >"$scratch/broken.cpi"
cp "$examples/wing12.cpi" "$scratch/good.cpi"
start_quarvel "$scratch/broken.cpi"
box=$(timeout 10 xdotool search --sync --name '^Open CpInput file$' | head -n 1)
[ -n "$box" ] || fail "no message box about the broken file"
import -window root "$scratch/message.png" 2>/dev/null
timeout 10 xdotool windowfocus --sync "$box" || fail "could not focus the message box"
xdotool key --clearmodifiers Return
sleep 0.5
[ "$(xdotool getwindowname "$win")" = "Cp editor" ] || fail "the window is not empty after the broken file"

timeout 10 xdotool windowfocus --sync "$win" || fail "could not focus the window"
xdotool key --clearmodifiers ctrl+o
dialog=$(timeout 10 xdotool search --sync --name '^Open CpInput file$' | head -n 1)
[ -n "$dialog" ] || fail "Ctrl-O opened no file dialog"
timeout 10 xdotool windowfocus --sync "$dialog" || fail "could not focus the file dialog"
# The "File Name:" field runs along the dialog's bottom, above the filter.
height=$(xdotool getwindowgeometry "$dialog" | awk -F'[x ]' '/Geometry/ { print $NF }')
width=$(xdotool getwindowgeometry "$dialog" | awk -F'[ x]' '/Geometry/ { print $(NF-1) }')
xdotool mousemove --window "$dialog" $((width / 2)) $((height - 48)) click 1
sleep 0.3
xdotool type --delay 20 "$scratch/good.cpi"
xdotool key --clearmodifiers Return
tries=0
until [ "$(xdotool getwindowname "$win")" = "Cp editor - good.cpi" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 20 ] || fail "the good wing did not open after the broken one: $(xdotool getwindowname "$win")"
    sleep 0.5
done
stop_quarvel
echo "ok: the broken file was reported and a good one opened afterwards"
