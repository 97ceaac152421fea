# Shared by the end-to-end scripts, which are run as
#   sh SCRIPT QUARVEL EXAMPLES-DIR SCRATCH-DIR PROBE
# It sets quarvel, examples, scratch and probe (the program that tells where
# widgets are) and gives fail, start_quarvel, wait_for_file and stop_quarvel,
# which ends the program as a user does and checks how it ended.

quarvel=$1
examples=$2
scratch=$3
probe=${4:-}
pid=

# Ends the test with a message, the program's output and a screenshot.
fail() {
    echo "FAIL: $*" >&2
    if [ -f "$scratch/quarvel.log" ]; then sed 's/^/  quarvel: /' "$scratch/quarvel.log" >&2; fi
    if [ -n "${DISPLAY:-}" ] && import -window root "$scratch/failure.png" 2>/dev/null; then
        echo "  screenshot: $scratch/failure.png" >&2
    fi
    exit 1
}
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null' EXIT

[ -n "${DISPLAY:-}" ] || fail "no X display; run under xvfb-run"
rm -rf "$scratch" && mkdir -p "$scratch" || fail "cannot make $scratch"

# Starts the program on the files given and waits for its main window;
# sets pid and win.
start_quarvel() {
    "$quarvel" "$@" >"$scratch/quarvel.log" 2>&1 &
    pid=$!
    win=$(timeout 20 xdotool search --sync --name '^Cp editor( - .*)?$' | head -n 1)
    [ -n "$win" ] || fail "no window titled \"Cp editor\" within 20 s"
    sleep 1
    kill -0 "$pid" 2>/dev/null || fail "the program ended after it started"
}

# Waits up to 15 s for a file to appear with some content.
wait_for_file() {
    tries=0
    while [ ! -s "$1" ]; do
        tries=$((tries + 1))
        [ "$tries" -le 15 ] || fail "$2"
        sleep 1
    done
}

# Ends the program with Ctrl-Q, leaving any change unsaved; it must end within
# 10 s with status 0 and no sanitizer report (a leak, a memory fault,
# undefined behaviour) in its log.
stop_quarvel() {
    timeout 10 xdotool windowfocus --sync "$win" || fail "could not focus the window to quit"
    xdotool key --clearmodifiers ctrl+q
    sleep 0.5
    box=$(xdotool search --name '^Unsaved changes$' | head -n 1)
    [ -z "$box" ] || xdotool windowfocus --sync "$box" key --clearmodifiers alt+d
    tries=0
    while kill -0 "$pid" 2>/dev/null; do
        tries=$((tries + 1))
        [ "$tries" -le 20 ] || fail "Ctrl-Q did not end the program"
        sleep 0.5
    done
    wait "$pid"
    status=$?
    pid=
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
    ! grep -qE 'Sanitizer|runtime error' "$scratch/quarvel.log" || fail "the program's log holds a sanitizer report"
}
