#!/bin/sh
# expect_failure.sh STATUS PATTERN COMMAND...: COMMAND exits with STATUS and
# its output (stdout and stderr) matches PATTERN.
expected=$1 pattern=$2
shift 2
out=$("$@" 2>&1)
status=$?
echo "$out"
[ "$status" -eq "$expected" ] || { echo "exit status $status, expected $expected"; exit 1; }
echo "$out" | grep -q -- "$pattern" || { echo "no output matching: $pattern"; exit 1; }
