#!/bin/sh
# A user opens the example wing, switches on the spline of section 2's upper
# surface (in "Cp edition"), drags a control point down with the mouse and
# saves: the design Cp column changes inside the edit interval only.
set -u
. "$(dirname "$0")/lib/common.sh"
start_display

cp "$examples/wing12.cpi" "$scratch/wing.cpi" || fail "example wing is missing"
# What an untouched save writes, and where to click, from the same window
# built on the same display.
run_cli 0 --convert "$scratch/wing.cpi" -o "$scratch/before.cpd"
run_probe "$scratch/wing.cpi"
at() { awk -v n="$1" '$1 == n { print $2, $3 }' "$scratch/where.txt"; }

# The program takes the clicks and motions in the order they are sent: the
# spline is on before the press, the press picks the point before it moves.
start_quarvel "$scratch/wing.cpi"
# shellcheck disable=SC2046
xdotool mousemove --window "$win" $(at spline_check) click 1
set -- $(at control_point) $(at drag_to)
px=$1 py=$2 tx=$3 ty=$4
xdotool mousemove --window "$win" "$px" "$py" mousedown 1
for i in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove --window "$win" "$tx" $((py + (ty - py) * i / 10))
done
xdotool mouseup 1
# The drag has been taken once the title marks the wing modified.
modified() { xdotool getwindowname "$win" | grep -q ' \*$'; }
wait_for 100 0.1 "the title never marked the wing modified after the drag" modified
timeout 10 xdotool windowfocus --sync "$win" || fail "could not focus the window"
xdotool key --clearmodifiers ctrl+s
wait_for_file "$scratch/wing.cpd" "Ctrl-S after the drag wrote no file"
stop_quarvel

# Section 2's block is lines 7 .. 74, its point rows 15 .. 74 (point = line + 46); the upper
# design Cp is columns 30-38. Only the interval 72 .. 104 (lines 26 .. 58, and the drag's
# end point beside it) may change there, besides the section's design lift on line 9.
result=$(awk 'NR == FNR { a[FNR] = $0; next }
    a[FNR] != $0 && FNR != 9 {
        if (FNR < 26 || FNR > 59 || substr(a[FNR], 1, 29) substr(a[FNR], 39) != substr($0, 1, 29) substr($0, 39)) bad = bad " " FNR
        else n++
    }
    END { print n + 0, bad }' "$scratch/before.cpd" "$scratch/wing.cpd")
set -- $result
[ $# -eq 1 ] || fail "lines changed outside the upper design Cp of the interval:${result#* }"
[ "$1" -ge 10 ] || fail "the drag changed only $1 design Cp values"
echo "ok: the drag rewrote $1 design Cp values inside the interval"
