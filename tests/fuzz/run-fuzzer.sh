#!/bin/sh
# Runs a libFuzzer target for a bounded time from the committed seed corpus.
# New inputs, the log and any crash file go to the work directory, never into
# the source tree; a crash fails the run and names the file with its input.
# usage: run-fuzzer.sh FUZZER SECONDS WORKDIR SEED-DIR [libFuzzer options]
set -eu
fuzzer=$1
seconds=$2
work=$3
seeds=$4
shift 4
rm -rf "$work"
mkdir -p "$work/corpus"
status=0
"$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 -artifact_prefix="$work/" \
    "$@" "$work/corpus" "$seeds" >"$work/fuzz.log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
    tail -n 80 "$work/fuzz.log"
    echo "run-fuzzer: $fuzzer failed; its input is in $work (crash-*, leak-*, timeout-*, oom-*)"
    echo "run-fuzzer: replay it with: $fuzzer FILE"
else
    grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|^stat::' "$work/fuzz.log"
fi
exit "$status"
