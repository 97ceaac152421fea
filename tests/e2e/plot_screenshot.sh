#!/bin/sh
# Starts the program on an example wing and checks the Cp plot on screen:
# a white background, the orange grid, black curves and the green
# neighbouring sections must all be there.
set -u
. "$(dirname "$0")/lib/common.sh"

cp "$examples/wing12.cpi" "$scratch/wing.cpi" || fail "example wing is missing"
start_quarvel "$scratch/wing.cpi"
import -window "$win" "$scratch/plot.png" || fail "could not take a screenshot"

# Number of pixels of one exact colour in the screenshot.
convert "$scratch/plot.png" -depth 8 -format %c histogram:info:- >"$scratch/histogram.txt" ||
    fail "could not read the screenshot"
count() {
    awk -v c="#$1" 'toupper($0) ~ c { n += $1 } END { print n + 0 }' "$scratch/histogram.txt"
}
white=$(count FFFFFF)
orange=$(count FFA500)
black=$(count 000000)
green=$(count 00FF00)
red=$(count FF0000)
echo "pixels: white $white, orange $orange, black $black, green $green, red $red"
[ "$white" -gt 100000 ] || fail "the plot has no white background ($white white pixels)"
[ "$orange" -gt 1000 ] || fail "no orange grid ($orange pixels)"
[ "$black" -gt 1000 ] || fail "no black curves ($black pixels)"
[ "$green" -gt 300 ] || fail "no green neighbouring section ($green pixels)"
[ "$red" -gt 20 ] || fail "no red interval box or marker ($red pixels)"
echo "ok: the Cp plot is on screen ($scratch/plot.png)"
