#!/usr/bin/env bash
# Checks the test-report.txt that run-tests.cmd wrote in an unzipped test bundle:
# its header, and that each program ran every test it lists and passed each one it
# did not skip. Fails when the report is missing, or any program ran fewer tests than
# it holds, failed one or skipped one for a reason other than the system's.
#   check-report.sh BUNDLE_DIR [LAUNCHER...]
# LAUNCHER runs a test program to list its tests: wine under Linux, none on Windows.
set -euo pipefail
bundle=$1
shift
programs=(vantrel_logic_tests vantrel_windows_tests vantrel_window_tests)

fail() {
    echo "report check: $*" >&2
    exit 1
}

[ -f "$bundle/test-report.txt" ] || fail "run-tests.cmd wrote no test-report.txt in $bundle"
report=$(mktemp)
trap 'rm -f "$report"' EXIT
tr -d '\r' <"$bundle/test-report.txt" >"$report"

# The start-up figures are there to be read: their form is checked, never their value.
median="[0-9]+\.[0-9] ms"
startup=("^Start-up with 20 files, median of 5 runs: Vantrel $median, same-job floor $median, [0-9.]+x$"
    "^Start-up with 10,000 files, median of 5 runs: Vantrel $median, same-job floor $median, [0-9.]+x$")
# The test command's run under Wine asks for no figures (check-bundle.sh); Windows always gives them.
if [ $# -gt 0 ] && grep -qx "Start-up: not measured (VANTREL_STARTUP_RUNS=0)" "$report"; then startup=(); fi
for line in "touch" "no user setting, no Send To folder" "^Windows: .*build [0-9]" "^Build: x(64|86)" \
    "^System DPI: [0-9]" "^UI language: " \
    "^Loaded in Vantrel.exe once its window is idle: shell32.dll (yes|no) oleaut32.dll (yes|no)$" \
    "${startup[@]}"; do
    grep -Eq "$line" "$report" || fail "the report's header lacks \"$line\""
done
sed -n '1,/^Date: /p' "$report"

# A test skips only where the system cannot run it, and says why: any other reason, or a
# skip without one, hides a test that should have run.
if [ $# -gt 0 ]; then
    allowed="^Wine('s)? |^the other machine's build is not there to compare with$"
else
    allowed="^sets system colours: only in the tests' own Wine session|^a 32-bit Windows$|^the Recycle Bin is turned off|^Windows offers no deleting a file in use|^the other machine's build is not there to compare with$"
fi

status=0
for program in "${programs[@]}"; do
    # One test per indented line of the listing.
    listed=$(cd "$bundle" && "$@" "./$program.exe" --gtest_list_tests | tr -d '\r' | grep -c '^  ')
    # Its part of the report, and the counts its summary there gives.
    part=$(sed -n "/^==== $program ====\$/,/^====\|^Result: /p" "$report")
    ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\? from .* ran\..*/\1/p' <<<"$part")
    passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\.$/\1/p' <<<"$part")
    skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?[.,].*/\1/p' <<<"$part")
    echo "$program: $listed tests listed; the report says ${ran:-none} ran," \
        "${passed:-none} passed, ${skipped:-0} skipped"
    # GoogleTest prints each skip's reason on the line after "file(line): Skipped".
    reasons=$(sed -n '/: Skipped$/{n;p}' <<<"$part")
    unexplained=$(printf '%s' "$reasons" | grep -cvE "$allowed" || true)
    if [ "$listed" -eq 0 ] || [ "$ran" != "$listed" ] || [ -z "$passed" ] ||
        [ $((passed + ${skipped:-0})) -ne "$listed" ] ||
        [ "$(printf '%s' "$reasons" | grep -c '')" -ne "${skipped:-0}" ] || [ "$unexplained" -ne 0 ]; then
        printf '%s\n' "$part" >&2
        status=1
    fi
done
grep '^Result: ' "$report"
exit "$status"
