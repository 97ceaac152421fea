#!/bin/sh
# Starts the program on a wing named on its command line, saves it with
# Ctrl-S as a user would and checks that the CpOutput file appears beside
# the input.
set -u
. "$(dirname "$0")/lib/common.sh"

cp "$examples/wing12.cpi" "$scratch/wing.cpi" || fail "example wing $examples/wing12.cpi is missing"
start_quarvel "$scratch/wing.cpi"
grep -q "^File=$scratch/wing.cpi\$" "$scratch/quarvel.log" || fail "the program did not report the file it opened"
[ ! -e "$scratch/wing.cpd" ] || fail "an output file was written before any save"

timeout 10 xdotool windowfocus --sync "$win" || fail "could not focus the window"
xdotool key --clearmodifiers ctrl+s
wait_for_file "$scratch/wing.cpd" "Ctrl-S wrote no $scratch/wing.cpd"

# The output repeats the input's title (without its surrounding blanks).
title_in=$(head -n 1 "$scratch/wing.cpi" | sed 's/^[[:space:]]*//; s/[[:space:]]*$//')
title_out=$(head -n 1 "$scratch/wing.cpd" | sed 's/[[:space:]]*$//')
[ "$title_in" = "$title_out" ] || fail "output title \"$title_out\" is not the input's \"$title_in\""

stop_quarvel
echo "ok: opened from the command line and saved with Ctrl-S"
