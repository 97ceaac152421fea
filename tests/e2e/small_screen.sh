#!/bin/sh
# On a 1280 x 720 screen the window fits with room for a title bar, and a
# user reaches and clicks every regime radio of both surfaces and "3D VIEW";
# Ctrl-S pressed while the planform has the focus saves the regimes chosen.
set -u
if [ -z "${QUARVEL_SMALL_SCREEN:-}" ]; then
    QUARVEL_SMALL_SCREEN=1 exec xvfb-run -a -s "-screen 0 1280x720x24" sh "$0" "$@"
fi
. "$(dirname "$0")/lib/common.sh"

cp "$examples/wing12.cpi" "$scratch/wing.cpi"
"$probe" "$scratch/wing.cpi" >"$scratch/where.txt" 2>/dev/null || fail "the probe could not open the wing"
at() { awk -v n="$1" '$1 == n { print $2, $3 }' "$scratch/where.txt"; }

# shellcheck disable=SC2046
set -- $(at window) $(at window_at)
[ "$4" -ge 40 ] && [ $(($4 + $2)) -le 720 ] && [ $(($3 + $1)) -le 1280 ] ||
    fail "the window ($1 x $2 at $3, $4) leaves no room for a title bar on a 1280 x 720 screen"
height=$2

start_quarvel "$scratch/wing.cpi"
# Upper regimes in order, ending on "Save max.thickness"; lower ones, ending
# on "Geom interpolation".
for radio in 0_0 0_1 0_2 0_3 0_4 1_0 1_1 1_3 1_4 1_2 view3d; do
    name=regime_$radio
    [ "$radio" = view3d ] && name=view3d_button
    set -- $(at "$name")
    [ "$2" -gt 0 ] && [ "$2" -lt "$height" ] || fail "$name is at row $2, outside the window's $height"
    before=$(xdotool search --onlyvisible --name '.' | wc -l)
    xdotool mousemove --window "$win" "$1" "$2" click 1
    sleep 0.5
done
sleep 1
after=$(xdotool search --onlyvisible --name '.' | wc -l)
[ "$after" -gt "$before" ] || fail "\"3D VIEW\" showed no window"

plan=$(xdotool search --name '^Wing planform$' | head -n 1)
[ -n "$plan" ] || fail "no planform dialog"
timeout 10 xdotool windowfocus --sync "$plan" || fail "could not focus the planform"
xdotool key --clearmodifiers ctrl+s
wait_for_file "$scratch/wing.cpd" "Ctrl-S in the planform wrote no file"
stop_quarvel

# Section 1's codes are on line 11 of the file.
codes=$(sed -n 11p "$scratch/wing.cpd" | tr -s " ")
[ "$codes" = " -2.00000 -10.00000 " ] || fail "section 1's codes are \"$codes\", not -2 and -10"
echo "ok: every regime radio and 3D VIEW reached on 1280 x 720, Ctrl-S from the planform saved them"
