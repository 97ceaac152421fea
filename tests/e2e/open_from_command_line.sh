#!/bin/sh
# Starts the program on a wing named on its command line, saves it with
# Ctrl-S as a user would and checks that the CpOutput file appears beside
# the input.
#
#   sh open_from_command_line.sh QUARVEL EXAMPLES-DIR SCRATCH-DIR
set -u

quarvel=$1
examples=$2
scratch=$3
pid=

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$scratch/quarvel.log" ]; then sed 's/^/  quarvel: /' "$scratch/quarvel.log" >&2; fi
    exit 1
}
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null' EXIT

[ -n "${DISPLAY:-}" ] || fail "no X display; run under xvfb-run"
rm -rf "$scratch" && mkdir -p "$scratch" || fail "cannot make $scratch"
cp "$examples/wing12.cpi" "$scratch/wing.cpi" || fail "example wing $examples/wing12.cpi is missing"

"$quarvel" "$scratch/wing.cpi" >"$scratch/quarvel.log" 2>&1 &
pid=$!

win=$(timeout 20 xdotool search --sync --name '^Cp editor$' | head -n 1)
[ -n "$win" ] || fail "no window titled \"Cp editor\" within 20 s"
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the program ended after opening the wing"
grep -q "^File=$scratch/wing.cpi\$" "$scratch/quarvel.log" || fail "the program did not report the file it opened"
[ ! -e "$scratch/wing.cpd" ] || fail "an output file was written before any save"

import -window root "$scratch/shot.png" || fail "could not take a screenshot"

timeout 10 xdotool windowfocus --sync "$win" || fail "could not focus the window"
xdotool key --clearmodifiers ctrl+s

tries=0
while [ ! -s "$scratch/wing.cpd" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 15 ] || fail "Ctrl-S wrote no $scratch/wing.cpd"
    sleep 1
done

# The output repeats the input's title (without its surrounding blanks).
title_in=$(head -n 1 "$scratch/wing.cpi" | sed 's/^[[:space:]]*//; s/[[:space:]]*$//')
title_out=$(head -n 1 "$scratch/wing.cpd" | sed 's/[[:space:]]*$//')
[ "$title_in" = "$title_out" ] || fail "output title \"$title_out\" is not the input's \"$title_in\""

kill "$pid"
wait "$pid" 2>/dev/null
pid=
echo "ok: opened from the command line and saved with Ctrl-S"
