# Shared by the end-to-end scripts, which are run as
#   sh SCRIPT QUARVEL EXAMPLES-DIR SCRATCH-DIR PROBE
# It sets quarvel, examples, scratch and probe (the program that tells where
# widgets are) and gives fail, start_display, start_quarvel, wait_for,
# wait_for_file, run_cli and stop_quarvel, which ends the program as a user
# does and checks how it ended.
#
# Nothing here waits for a time: every wait polls for a condition (a window,
# a file, a title) a bounded number of times and fails the test when it
# never holds.
#
# A sanitizer that finds a fault ends the program with status 86, which the
# program itself never uses, and its report ("ERROR: AddressSanitizer",
# "runtime error:", "LeakSanitizer") fails the test wherever it appears.

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
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null' EXIT

rm -rf "$scratch" && mkdir -p "$scratch" || fail "cannot make $scratch"

# wait_for TRIES STEP MESSAGE COMMAND...: runs the command every STEP
# seconds until it succeeds, at most TRIES times; fails with MESSAGE.
wait_for() {
    tries=$1 step=$2 message=$3
    shift 3
    while ! "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "$message"
        sleep "$step"
    done
}

# Starts a virtual X server of its own for the test (a screen of WxHxD,
# default 1280x1024x24) and sets DISPLAY to it. The server takes a free
# display number itself and writes it once it takes connections, so that
# tests that run at the same time never meet on one display.
start_display() {
    Xvfb -displayfd 3 -screen 0 "${1:-1280x1024x24}" -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
    xvfb=$!
    wait_for 100 0.1 "the virtual X server did not start: $(cat "$scratch/xvfb.log")" test -s "$scratch/display"
    DISPLAY=:$(cat "$scratch/display")
    export DISPLAY
    wait_for 50 0.1 "no display at $DISPLAY" xdotool getdisplaygeometry
}

window_ready() {
    win=$(xdotool search --onlyvisible --name '^Cp editor( - .*)?$' | head -n 1)
    [ -n "$win" ] || kill -0 "$pid" 2>/dev/null || fail "the program ended after it started"
    [ -n "$win" ]
}

# Starts the program on the files given and waits for its main window to
# show; sets pid and win.
start_quarvel() {
    "$quarvel" "$@" >"$scratch/quarvel.log" 2>&1 &
    pid=$!
    wait_for 200 0.1 "no window titled \"Cp editor\" within 20 s" window_ready
}

# Waits for a visible window whose title matches; sets found.
window_titled() {
    found=$(xdotool search --onlyvisible --name "$1" | head -n 1)
    [ -n "$found" ]
}

# Waits up to 15 s for a file to appear with some content.
wait_for_file() {
    wait_for 150 0.1 "$2" test -s "$1"
}

has_sanitizer_report() {
    grep -qE "$sanitizer_reports" "$1"
}

# What is wrong with a run of the command line, empty when nothing:
# cli_problem STATUS ARGS... runs it with no display; it must end with
# STATUS and write no sanitizer report. Its output stays in $scratch/cli.out
# and $scratch/cli.err.
cli_problem() {
    expected=$1
    shift
    env -u DISPLAY "$quarvel" "$@" >"$scratch/cli.out" 2>"$scratch/cli.err"
    status=$?
    if has_sanitizer_report "$scratch/cli.err"; then
        echo "quarvel $*: a sanitizer report (status $status): $(head -n 5 "$scratch/cli.err")"
    elif [ "$status" -ne "$expected" ]; then
        echo "quarvel $*: status $status, not $expected: $(head -n 5 "$scratch/cli.err")"
    fi
}

# run_cli STATUS ARGS...: the same, failing the test on a problem.
run_cli() {
    problem=$(cli_problem "$@")
    [ -z "$problem" ] || fail "$problem"
}

# Runs the probe on a wing into $scratch/where.txt; it must end with 0 and
# no sanitizer report.
run_probe() {
    "$probe" "$1" >"$scratch/where.txt" 2>"$scratch/probe.log"
    status=$?
    ! has_sanitizer_report "$scratch/probe.log" || fail "the probe's log holds a sanitizer report: $(head -n 5 "$scratch/probe.log")"
    [ "$status" -eq 0 ] || fail "the probe could not open the wing (status $status)"
}

program_ended() { ! kill -0 "$pid" 2>/dev/null; }

# The program ended, or its question about unsaved changes was answered
# "Don't save" (and it is asked again until the program ends).
ended_or_answered() {
    program_ended && return 0
    box=$(xdotool search --onlyvisible --name '^Unsaved changes$' | head -n 1)
    [ -n "$box" ] && xdotool windowfocus --sync "$box" key --clearmodifiers alt+d
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
    ! has_sanitizer_report "$scratch/quarvel.log" || fail "the program's log holds a sanitizer report"
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}
