#!/bin/sh
# Choosing a section in the planform dialog makes it current in the main
# window: a regime chosen there lands in that section of the saved file.
# Page Down and Page Up step the sections as well.
set -u
. "$(dirname "$0")/lib/common.sh"

"$probe" "$examples/wing12.cpi" >"$scratch/where.txt" 2>/dev/null || fail "the probe could not open the wing"
at() { awk -v n="$1" '$1 == n { print $2, $3 }' "$scratch/where.txt"; }

cp "$examples/wing12.cpi" "$scratch/wing.cpi"
start_quarvel "$scratch/wing.cpi"
plan=$(timeout 10 xdotool search --sync --name '^Wing planform$' | head -n 1)
[ -n "$plan" ] || fail "no planform dialog"

# File section 3 (the second one) through the spinner's up arrow.
# shellcheck disable=SC2046
xdotool mousemove --window "$plan" $(at section_up) click 1
sleep 0.5
# Page Down three times to the fifth, Page Up back to the fourth (file
# section 5, whose upper surface is in "Cp edition").
timeout 10 xdotool windowfocus --sync "$win" || fail "could not focus the window"
for key in Next Next Next Prior; do
    xdotool key --clearmodifiers "$key"
    sleep 0.3
done
# shellcheck disable=SC2046
xdotool mousemove --window "$win" $(at upper_geom) click 1
sleep 0.3
import -window root "$scratch/after.png" 2>/dev/null
timeout 10 xdotool windowfocus --sync "$win" || fail "could not focus the window"
xdotool key --clearmodifiers ctrl+s
wait_for_file "$scratch/wing.cpd" "Ctrl-S wrote no file"
stop_quarvel

# Block k starts at line 7 + 69 k; its codes are on the block's fifth line.
code() { sed -n "$((11 + 69 * $1))p" "$scratch/wing.cpd" | cut -c20-28 | tr -d " "; }
[ "$(code 3)" = "-10.00000" ] || fail "file section 5's upper code is \"$(code 3)\", not -10.00000"
[ "$(code 1)" = "1.00000" ] || fail "file section 3 changed: \"$(code 1)\""
[ "$(code 4)" = "-2.00000" ] || fail "file section 6 changed: \"$(code 4)\""
echo "ok: the section chosen in the planform took the regime"
