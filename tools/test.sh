#!/usr/bin/env bash
# Builds and runs every test: the portable logic natively (sanitized), a short run of
# each fuzz target, the x64 and the x86 Windows builds under Wine on a virtual display
# (the x86 one where this system runs 32-bit programs), then the static checks
# (tools/lint.sh, counted as one test). Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

log=$(mktemp)
trap 'rm -f "$log"' EXIT
build_preset() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1"
}
run_suite() {
    local preset=$1
    echo "== $preset =="
    build_preset "$preset"
    ctest --preset "$preset" 2>&1 | tee -a "$log"
}

status=0
run_suite native || status=1
run_suite fuzz || status=1
# The x64 image test compares its exe with the x86 build's, so that is built first.
echo "== windows-x86 (build) =="
build_preset windows-x86 || status=1
run_suite windows || status=1
if x86_skipped=$(tools/wine32-check.sh); then
    echo "== windows-x86 =="
    ctest --preset windows-x86 2>&1 | tee -a "$log" || status=1
fi
echo "== lint =="
lint_failed=0
tools/lint.sh || { lint_failed=1; status=1; }

passed=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2 \1/p' "$log" |
    awk '{p += $1 - $2; f += $2} END {print p + 0}')
failed=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of.*/\1/p' "$log" |
    awk '{f += $1} END {print f + 0}')
passed=$((passed + 1 - lint_failed))
failed=$((failed + lint_failed))
[ "$status" -eq 0 ] || [ "$failed" -gt 0 ] || failed=1
echo
echo "tests: $passed passed, $failed failed"
[ -z "$x86_skipped" ] || echo "x86 suites skipped (built, not run): $x86_skipped"
exit "$status"
