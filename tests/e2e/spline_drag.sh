#!/bin/sh
# A user opens the example wing, switches on the spline of section 2's upper
# surface (in "Cp edition"), drags a control point down with the mouse and
# saves: the design Cp column changes inside the edit interval only.
set -u
. "$(dirname "$0")/lib/common.sh"

cp "$examples/wing12.cpi" "$scratch/wing.cpi" || fail "example wing is missing"
# Where to click, from the same window built on the same display, and the
# file an untouched save writes.
"$probe" "$scratch/wing.cpi" >"$scratch/where.txt" 2>"$scratch/probe.log" || fail "the probe could not open the wing"
at() { awk -v n="$1" '$1 == n { print $2, $3 }' "$scratch/where.txt"; }

start_quarvel "$scratch/wing.cpi"
timeout 10 xdotool windowfocus --sync "$win" || fail "could not focus the window"
xdotool key --clearmodifiers ctrl+s
wait_for_file "$scratch/wing.cpd" "Ctrl-S wrote no file"
mv "$scratch/wing.cpd" "$scratch/before.cpd"

# shellcheck disable=SC2046
xdotool mousemove --window "$win" $(at spline_check) click 1
sleep 0.5
set -- $(at control_point)
px=$1 py=$2
set -- $(at drag_to)
tx=$1 ty=$2
xdotool mousemove --window "$win" "$px" "$py"
sleep 0.2
xdotool mousedown 1
steps=10
i=1
while [ "$i" -le "$steps" ]; do
    xdotool mousemove --window "$win" "$tx" $((py + (ty - py) * i / steps))
    sleep 0.05
    i=$((i + 1))
done
xdotool mouseup 1
sleep 0.5
import -window "$win" "$scratch/dragged.png" || fail "could not take a screenshot"

xdotool key --clearmodifiers ctrl+s
wait_for_file "$scratch/wing.cpd" "Ctrl-S after the drag wrote no file"
stop_quarvel

# Section 2's block is lines 7 .. 74: its point rows are 15 .. 74; the upper
# design Cp is columns 30-38. Upper interval 72 .. 104 (file points) is, in
# the output, rows 12 .. 44 of the block (point number = 61 + row).
changed_inside=0
awk 'NR == FNR { a[FNR] = $0; next } { print FNR, (a[FNR] == $0) }' "$scratch/before.cpd" "$scratch/wing.cpd" >"$scratch/same.txt"
while read -r line same; do
    [ "$same" = 1 ] && continue
    row=$((line - 15))
    if [ "$line" -eq 9 ]; then continue; fi  # the section's design lift follows the edit
    if [ "$line" -lt 15 ] || [ "$line" -gt 74 ]; then fail "line $line changed outside section 2's point rows"; fi
    old=$(sed -n "${line}p" "$scratch/before.cpd")
    new=$(sed -n "${line}p" "$scratch/wing.cpd")
    [ "$(printf %s "$old" | cut -c1-29,39-)" = "$(printf %s "$new" | cut -c1-29,39-)" ] ||
        fail "line $line changed outside the upper design Cp column"
    point=$((61 + row))
    if [ "$point" -lt 72 ] || [ "$point" -gt 105 ]; then fail "point $point outside the interval changed"; fi
    changed_inside=$((changed_inside + 1))
done <"$scratch/same.txt"
[ "$changed_inside" -ge 10 ] || fail "the drag changed only $changed_inside design Cp values"
echo "ok: the drag rewrote $changed_inside design Cp values inside the interval"
