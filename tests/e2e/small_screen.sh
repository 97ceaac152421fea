#!/bin/sh
# On a 1280 x 720 screen the window fits with a title bar; a user chooses a section in the
# planform pane (spinner, Page keys), clicks every regime radio and "3D VIEW", and saves with
# Ctrl-S: the regimes land in that section of the file, and only there.
set -u
. "$(dirname "$0")/lib/common.sh"
start_display 1280x720x24

cp "$examples/wing12.cpi" "$scratch/wing.cpi"
run_probe "$scratch/wing.cpi"
at() { awk -v n="$1" '$1 == n { print $2, $3 }' "$scratch/where.txt"; }

# shellcheck disable=SC2046
set -- $(at window) $(at window_at)
[ "$4" -ge 40 ] && [ $(($4 + $2)) -le 720 ] && [ $(($3 + $1)) -le 1280 ] ||
    fail "the window ($1 x $2 at $3, $4) leaves no room for a title bar on a 1280 x 720 screen"
height=$2

start_quarvel "$scratch/wing.cpi"
# File section 3 by the spinner's up arrow, then on to file section 5. The
# program takes the events in the order they are sent, so no key waits for
# the one before.
xdotool mousemove --window "$win" $(at section_up) click 1
timeout 10 xdotool windowfocus --sync "$win" || fail "could not focus the window"
for key in Next Next Next Prior; do
    xdotool key --clearmodifiers "$key"
done
# The upper regimes end on "Save max.thickness", the lower ones on "Geom interpolation".
for name in regime_0_0 regime_0_1 regime_0_2 regime_0_3 regime_0_4 regime_1_0 regime_1_1 regime_1_3 regime_1_4 \
    regime_1_2 view3d_button; do
    set -- $(at "$name")
    [ "$2" -gt 0 ] && [ "$2" -lt "$height" ] || fail "$name is at row $2, outside the window's $height"
    xdotool mousemove --window "$win" "$1" "$2" click 1
done

timeout 10 xdotool windowfocus --sync "$win" || fail "could not focus the window"
xdotool key --clearmodifiers ctrl+s
wait_for_file "$scratch/wing.cpd" "Ctrl-S wrote no file"
stop_quarvel

# Block k starts at line 7 + 69 k; its codes are on the block's fifth line.
codes() { sed -n "$((11 + 69 * $1))p" "$scratch/wing.cpd" | tr -s " "; }
[ "$(codes 3)" = " -2.00000 -10.00000 " ] || fail "file section 5's codes are \"$(codes 3)\", not -2 and -10"
[ "$(codes 4)" = " -2.00000 1.00000 " ] || fail "file section 6 changed: \"$(codes 4)\""
echo "ok: on 1280 x 720 every regime radio and 3D VIEW reached, the keys chose the section and saved"
