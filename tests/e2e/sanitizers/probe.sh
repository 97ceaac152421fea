#!/bin/sh
# The end-to-end checks catch a sanitizer finding on a run that ends as a
# fault in the input does (status 1, "FILE:LINE: reason"): the faulty
# command line given must end with the sanitizers' status, and cli_problem
# must name the report.
set -u
. "$(dirname "$0")/../lib/common.sh"

for fault in over-read leak overflow; do
    env -u DISPLAY "$quarvel" "$fault" >/dev/null 2>"$scratch/$fault.err"
    status=$?
    [ "$status" -eq 86 ] ||
        fail "the $fault ended with status $status, not the sanitizers' 86: $(cat "$scratch/$fault.err")"
    problem=$(cli_problem 1 "$fault")
    case $problem in
    *"sanitizer report"*) ;;
    *) fail "the checks missed the $fault: \"$problem\"" ;;
    esac
done
# And a clean run with the expected status passes them.
problem=$(cli_problem 1 none)
[ -z "$problem" ] || fail "a clean run failed the checks: $problem"
echo "ok: an over-read, a leak and an overflow on the error path each fail the checks"
