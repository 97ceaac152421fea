#!/bin/sh
# Starts the program on a wing named on its command line, saves it with
# Ctrl-S as a user would and checks that the CpOutput file appears beside
# the input, and that the command line writes the same file with no display.
set -u
. "$(dirname "$0")/lib/common.sh"
start_display

cp "$examples/wing12.cpi" "$scratch/wing.cpi" || fail "example wing $examples/wing12.cpi is missing"
start_quarvel "$scratch/wing.cpi"
grep -q "^File=$scratch/wing.cpi\$" "$scratch/quarvel.log" || fail "the program did not report the file it opened"
[ ! -e "$scratch/wing.cpd" ] || fail "an output file was written before any save"

timeout 10 xdotool windowfocus --sync "$win" || fail "could not focus the window"
xdotool key --clearmodifiers ctrl+s
wait_for_file "$scratch/wing.cpd" "Ctrl-S wrote no $scratch/wing.cpd"

stop_quarvel

# The command line needs no display and writes the same bytes as the window.
run_cli 0 --convert "$scratch/wing.cpi" -o "$scratch/converted.cpd"
cmp -s "$scratch/wing.cpd" "$scratch/converted.cpd" || fail "--convert differs from the window's save"
run_cli 0 --check "$scratch/wing.cpd"
grep -q "^Title: " "$scratch/cli.out" || fail "--check of the saved file printed no title"
head -n 20 "$scratch/wing.cpi" >"$scratch/cut.cpi"
run_cli 1 --check "$scratch/cut.cpi"
grep -q "^$scratch/cut.cpi:20: " "$scratch/cli.err" || fail "--check did not say FILE:LINE: $(cat "$scratch/cli.err")"

echo "ok: opened from the command line, saved with Ctrl-S, the same file written headless"
