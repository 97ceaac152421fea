#!/bin/sh
# On a 1280 x 720 screen, once a wing is open, the program is one top-level
# window whose four panes (Cp plot, planform and isobars, spanload, 3D view)
# all show inside it and on the screen; a pane's "Hide" hides it, "Show all
# panes" in the View menu shows it again, and a pane hidden at the end of a
# run is hidden at the start of the next.
# shellcheck disable=SC2046,SC2086
set -u
. "$(dirname "$0")/lib/common.sh"
start_display 1280x720x24
# The toolkit keeps the layout under $HOME: a home of the test's own, empty.
rm -rf "$HOME/.foxrc" && mkdir -p "$HOME" || fail "cannot make the home $HOME"

cp "$examples/wing12.cpi" "$scratch/wing.cpi"
run_probe "$scratch/wing.cpi"
at() { awk -v n="$1" '$1 == n { $1 = ""; print }' "$scratch/where.txt"; }

# The X window of a widget at X Y of the main window (W x H), in the state
# given: IsViewable (shown, with all it is in) or IsUnMapped.
widget_state() {
    set -- "$@" $(xwininfo -id "$win" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
                                           END { print x, y }')
    ids=$(xwininfo -tree -id "$win" |
          awk -v g="$3x$4" -v at="+$(($1 + $6))+$(($2 + $7))" '$0 ~ g "[-+]" && $NF == at { print $1 }')
    [ -n "$ids" ] || return 1
    for id in $ids; do
        xwininfo -id "$id" | grep -q "Map State: $5" && return 0
    done
    return 1
}
top_levels() { xdotool search --onlyvisible --name . | wc -l; }

start_quarvel "$scratch/wing.cpi"
for p in 0 1 2 3; do
    set -- $(at "pane_$p")
    [ "$1" != hidden ] || fail "pane $p is hidden on the first run"
    [ "$1" -ge 0 ] && [ "$2" -ge 0 ] || fail "pane $p starts at $1, $2, outside the window"
    set -- "$@" $(at window)
    [ $(($1 + $3)) -le "$5" ] && [ $(($2 + $4)) -le "$6" ] || fail "pane $p ($3 x $4 at $1, $2) leaves the window"
    [ "$3" -ge 200 ] && [ "$4" -ge 150 ] || fail "pane $p is only $3 x $4"
    wait_for 50 0.1 "pane $p ($3 x $4 at $1, $2) is not shown in the program" widget_state "$1" "$2" "$3" "$4" IsViewable
done
set -- $(at window) $(at window_at)
[ $(($3 + $1)) -le 1280 ] && [ $(($4 + $2)) -le 720 ] || fail "the window ($1 x $2 at $3, $4) leaves the screen"
[ "$(top_levels)" -eq 1 ] || fail "$(top_levels) top-level windows are shown, not the main window alone"

# The spanload hidden by its "Hide", and shown again by "Show all panes"
# (Ctrl-Shift-A, in the View menu).
set -- $(at pane_2)
spanload="$1 $2 $3 $4"
xdotool mousemove --window "$win" $(at hide_2) click 1
wait_for 50 0.1 "\"Hide\" left the spanload shown" widget_state $spanload IsUnMapped
timeout 10 xdotool windowfocus --sync "$win" || fail "could not focus the window"
xdotool key --clearmodifiers ctrl+shift+a
wait_for 50 0.1 "\"Show all panes\" left the spanload hidden" widget_state $spanload IsViewable
[ "$(top_levels)" -eq 1 ] || fail "showing a pane opened a window"

# Hidden again at the end of the run, it stays hidden in the next one.
xdotool mousemove --window "$win" $(at hide_2) click 1
wait_for 50 0.1 "\"Hide\" left the spanload shown" widget_state $spanload IsUnMapped
stop_quarvel
run_probe "$scratch/wing.cpi"
[ "$(at pane_2)" = " hidden" ] || fail "the next run shows the spanload at$(at pane_2)"
start_quarvel "$scratch/wing.cpi"
set -- $(at pane_3)
[ "$3" -ge 500 ] || fail "the 3D view ($3 wide) did not take the spanload's room"
wait_for 50 0.1 "the next run's 3D view is not where the layout puts it" widget_state "$1" "$2" "$3" "$4" IsViewable
stop_quarvel
echo "ok: on 1280 x 720 one window shows the four panes; a pane hides, shows again, and stays hidden in the next run"
