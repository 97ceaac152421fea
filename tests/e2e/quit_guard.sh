#!/bin/sh
# Quitting with Ctrl-Q: at once without changes; with a change the program
# asks first, and Cancel, Don't Save and Save each do what they say.
set -u
. "$(dirname "$0")/lib/common.sh"

"$probe" "$examples/wing12.cpi" >"$scratch/where.txt" 2>/dev/null || fail "the probe could not open the wing"
at() { awk -v n="$1" '$1 == n { print $2, $3 }' "$scratch/where.txt"; }

# Makes section 2's upper surface "Geom interpolation".
change_regime() {
    # shellcheck disable=SC2046
    xdotool mousemove --window "$win" $(at upper_surface) click 1
    sleep 0.3
    # shellcheck disable=SC2046
    xdotool mousemove --window "$win" $(at upper_geom) click 1
    sleep 0.3
    case "$(xdotool getwindowname "$win")" in
    *" *") ;;
    *) fail "a regime change left the title without its star: $(xdotool getwindowname "$win")" ;;
    esac
}
quit_key() {
    timeout 10 xdotool windowfocus --sync "$win" || fail "could not focus the window"
    xdotool key --clearmodifiers ctrl+q
}
# Waits for the question and answers it with a key.
answer() {
    box=$(timeout 10 xdotool search --sync --name '^Unsaved changes$' | head -n 1)
    [ -n "$box" ] || fail "no \"Unsaved changes\" question"
    import -window root "$scratch/question.png" 2>/dev/null
    timeout 10 xdotool windowfocus --sync "$box" || fail "could not focus the question"
    xdotool key --clearmodifiers "$1"
    sleep 0.5
}

cp "$examples/wing12.cpi" "$scratch/wing.cpi"
start_quarvel "$scratch/wing.cpi"
quit_key
wait_for_exit "Ctrl-Q without changes did not end the program"
[ ! -e "$scratch/wing.cpd" ] || fail "quitting without changes wrote a file"

start_quarvel "$scratch/wing.cpi"
change_regime
quit_key
answer Escape
kill -0 "$pid" 2>/dev/null || fail "Cancel ended the program"
quit_key
answer alt+d
wait_for_exit "Don't Save did not end the program"
[ ! -e "$scratch/wing.cpd" ] || fail "Don't Save wrote a file"

start_quarvel "$scratch/wing.cpi"
change_regime
quit_key
answer alt+s
wait_for_exit "Save did not end the program"
[ -s "$scratch/wing.cpd" ] || fail "Save wrote no file"
code=$(sed -n 11p "$scratch/wing.cpd" | cut -c20-28 | tr -d " ")
[ "$code" = "-10.00000" ] || fail "the saved upper code of section 2 is \"$code\", not -10.00000"
echo "ok: Ctrl-Q quits at once without changes and asks with them"
