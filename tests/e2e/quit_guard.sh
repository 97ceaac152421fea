#!/bin/sh
# Quitting with Ctrl-Q after a change: the program asks first; Cancel keeps
# it running and Save writes the change before it ends. (Every script quits
# with Ctrl-Q; the window tests answer Don't Save.)
set -u
. "$(dirname "$0")/lib/common.sh"

"$probe" "$examples/wing12.cpi" >"$scratch/where.txt" 2>/dev/null || fail "the probe could not open the wing"
at() { awk -v n="$1" '$1 == n { print $2, $3 }' "$scratch/where.txt"; }
# Presses Ctrl-Q and answers the question about unsaved changes with a key.
quit_answering() {
    timeout 10 xdotool windowfocus --sync "$win" || fail "could not focus the window"
    xdotool key --clearmodifiers ctrl+q
    box=$(timeout 10 xdotool search --sync --name '^Unsaved changes$' | head -n 1)
    [ -n "$box" ] || fail "no \"Unsaved changes\" question"
    timeout 10 xdotool windowfocus --sync "$box" key --clearmodifiers "$1" || fail "could not answer the question"
    sleep 0.5
}

cp "$examples/wing12.cpi" "$scratch/wing.cpi"
start_quarvel "$scratch/wing.cpi"
# Section 2's upper surface becomes "Geom interpolation".
for widget in upper_surface upper_geom; do
    # shellcheck disable=SC2046
    xdotool mousemove --window "$win" $(at $widget) click 1
    sleep 0.3
done
case "$(xdotool getwindowname "$win")" in *" *") ;; *) fail "a regime change left the title without its star" ;; esac
quit_answering Escape
kill -0 "$pid" 2>/dev/null || fail "Cancel ended the program"
quit_answering alt+s
wait_for_exit "Save did not end the program"
code=$(sed -n 11p "$scratch/wing.cpd" | cut -c20-28 | tr -d " ")
[ "$code" = "-10.00000" ] || fail "the saved upper code of section 2 is \"$code\", not -10.00000"
echo "ok: Ctrl-Q asks about a change; Cancel keeps the program, Save writes the change"
