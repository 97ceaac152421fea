# Shared by the end-to-end scripts, run as: sh SCRIPT QUARVEL EXAMPLES-DIR
# SCRATCH-DIR PROBE (the program that tells where widgets are). Every wait
# polls for a condition a bounded number of times, never for a time. A
# sanitizer finding ends a program with status 86, which the program never
# uses, and its report in any output fails the test.

quarvel=$1
examples=$2
scratch=$3
probe=${4:-}
pid=
xvfb=

export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}exitcode=86"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}exitcode=86"
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}exitcode=86"
sanitizer_reports='ERROR: AddressSanitizer|runtime error:|LeakSanitizer|ERROR: [A-Za-z]*Sanitizer'

# Ends the test with a message, the program's output and a screenshot.
fail() {
    echo "FAIL: $*" >&2
    if [ -f "$scratch/quarvel.log" ]; then sed 's/^/  quarvel: /' "$scratch/quarvel.log" >&2; fi
    if [ -n "${DISPLAY:-}" ] && import -window root "$scratch/failure.png" 2>/dev/null; then
        echo "  screenshot: $scratch/failure.png" >&2
    fi
    exit 1
}
# The display is gone before the next test starts one.
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb"' EXIT

rm -rf "$scratch" && mkdir -p "$scratch" || fail "cannot make $scratch"

# wait_for TRIES STEP MESSAGE COMMAND...: the command every STEP seconds
# until it succeeds, at most TRIES times; fails with MESSAGE.
wait_for() {
    tries=$1 step=$2 message=$3
    shift 3
    while ! "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "$message"
        sleep "$step"
    done
}

# A virtual X server of the test's own (WxHxD) as DISPLAY: it takes a free
# display number itself, so tests never meet on one, and does not reset when
# its last client goes (a reset refuses the next client for a moment).
start_display() {
    # The libraries preloaded into the program under test are not the server's.
    env -u LD_PRELOAD Xvfb -displayfd 3 -screen 0 "${1:-1280x1024x24}" -nolisten tcp -noreset \
        3>"$scratch/display" 2>"$scratch/xvfb.log" &
    xvfb=$!
    wait_for 100 0.1 "the virtual X server did not start: $(cat "$scratch/xvfb.log")" test -s "$scratch/display"
    DISPLAY=:$(cat "$scratch/display")
    export DISPLAY
    wait_for 50 0.1 "no display at $DISPLAY" xdpyinfo_ok
}

xdpyinfo_ok() { xdotool getdisplaygeometry >/dev/null 2>&1; }

# A visible window whose title matches; sets found.
window_titled() {
    found=$(xdotool search --onlyvisible --name "$1" | head -n 1)
    [ -n "$found" ]
}

window_ready() {
    window_titled '^Cp editor( - .*)?$' && win=$found && return 0
    kill -0 "$pid" 2>/dev/null || fail "the program ended after it started"
    return 1
}

# Starts the program on the files given and waits for its main window to
# show; sets pid and win.
start_quarvel() {
    "$quarvel" "$@" >"$scratch/quarvel.log" 2>&1 &
    pid=$!
    wait_for 200 0.1 "no window titled \"Cp editor\" within 20 s" window_ready
}

wait_for_file() { wait_for 150 0.1 "$2" test -s "$1"; }

# run_problem STATUS OUT LOG COMMAND...: what is wrong with a run (output to
# OUT, messages to LOG), empty when it ends with STATUS and no sanitizer
# report.
run_problem() {
    expected=$1 out=$2 log=$3
    shift 3
    "$@" >"$out" 2>"$log"
    status=$?
    if grep -qE "$sanitizer_reports" "$log"; then
        echo "$*: a sanitizer report (status $status): $(head -n 5 "$log")"
    elif [ "$status" -ne "$expected" ]; then
        echo "$*: status $status, not $expected: $(head -n 5 "$log")"
    fi
}

# cli_problem STATUS ARGS...: the same for the command line (no display);
# its output stays in $scratch/cli.out and $scratch/cli.err. run_cli fails
# the test on a problem.
cli_problem() {
    expected=$1
    shift
    run_problem "$expected" "$scratch/cli.out" "$scratch/cli.err" env -u DISPLAY "$quarvel" "$@"
}
run_cli() {
    problem=$(cli_problem "$@")
    [ -z "$problem" ] || fail "$problem"
}

# The probe on a wing into $scratch/where.txt.
run_probe() {
    problem=$(run_problem 0 "$scratch/where.txt" "$scratch/probe.log" "$probe" "$1")
    [ -z "$problem" ] || fail "the probe: $problem"
}

# The program ended, or its "Unsaved changes" box is answered "Don't save".
ended_or_answered() {
    kill -0 "$pid" 2>/dev/null || return 0
    window_titled '^Unsaved changes$' && xdotool windowfocus --sync "$found" key --clearmodifiers alt+d
    return 1
}

# Ends the program with Ctrl-Q, leaving any change unsaved; it must end within
# 10 s with status 0 and no sanitizer report (a leak, a memory fault,
# undefined behaviour) in its log.
stop_quarvel() {
    timeout 10 xdotool windowfocus --sync "$win" || fail "could not focus the window to quit"
    xdotool key --clearmodifiers ctrl+q
    wait_for 100 0.1 "Ctrl-Q did not end the program" ended_or_answered
    wait "$pid"
    status=$?
    pid=
    ! grep -qE "$sanitizer_reports" "$scratch/quarvel.log" || fail "the program's log holds a sanitizer report"
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}
