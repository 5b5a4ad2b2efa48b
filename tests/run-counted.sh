#!/usr/bin/env bash
# Runs a test program on a filter and fails unless exactly COUNT tests ran and passed:
# a filter that matches fewer tests than it names (a renamed test, a suite instantiated
# under a prefix) would otherwise pass having run nothing.
#   run-counted.sh COUNT COMMAND [ARGUMENT...]
set -uo pipefail
count=$1
shift
output=$("$@" 2>&1)
status=$?
printf '%s\n' "$output"
passed=$(printf '%s\n' "$output" | tr -d '\r' |
    LC_ALL=C sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\.$/\1/p')
if [ "$status" -ne 0 ] || [ "$passed" != "$count" ]; then
    echo "run-counted.sh: expected $count tests to pass; exit code $status, ${passed:-none} passed" >&2
    exit 1
fi
