#!/usr/bin/env bash
# Runs the test bundle under Wine as a Windows user would: builds the zip, unzips it,
# runs run-tests.cmd /y there and checks test-report.txt: its header, and that each
# program ran and passed every test it lists.
#   check-bundle.sh SOURCE_DIR BUILD_DIR WINE_SESSION_DIR
set -euo pipefail
source_dir=$1
build=$2
session=$3
programs=(vantrel_logic_tests vantrel_windows_tests vantrel_window_tests)

fail() {
    echo "bundle check: $*" >&2
    exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$source_dir/tools/test-bundle.sh" "$build" "$work/tests.zip"
unzip -q "$work/tests.zip" -d "$work/bundle"
. "$source_dir/tools/wine-env.sh" "$session"

started=$(date +%s)
# Wine starts its desktop process from the first program that needs a window, and
# that process inherits the program's output handles: had a test program started
# it, it would hold test-report.txt open against every later write. So a window is
# made first with output to NUL; the desktop then lives as long as this cmd does.
# The script's own exit code is only a summary; the report is what is checked.
warm_up="vantrel_window_tests.exe --gtest_filter=Form1InProcess.PaintsItsBackground* >NUL 2>&1"
(cd "$work/bundle" && wine cmd /c "$warm_up & run-tests.cmd /y") || true
echo "run-tests.cmd took $(($(date +%s) - started)) s"
[ -f "$work/bundle/test-report.txt" ] || fail "run-tests.cmd wrote no test-report.txt"
tr -d '\r' <"$work/bundle/test-report.txt" >"$work/report"
report=$work/report

median="[0-9]+\.[0-9] ms"
for line in "touch" "no user setting, no Send To folder" "^Windows: .*build [0-9]" \
    "^System DPI: [0-9]" "^UI language: " \
    "^Loaded in Vantrel.exe once its window is idle: shell32.dll (yes|no) oleaut32.dll (yes|no)$" \
    "^Start-up with 20 files, median of 5 runs: Vantrel $median, same-job floor $median, [0-9.]+x$" \
    "^Start-up with 10,000 files, median of 5 runs: Vantrel $median, same-job floor $median, [0-9.]+x$"; do
    grep -Eq "$line" "$report" || fail "the report's header lacks \"$line\""
done
sed -n '1,/^Date: /p' "$report"

# A program's count of tests run, passed and skipped, as its summary in the report says.
summary_count() {
    sed -n "/^==== $1 ====\$/,/^====\|^Result: /p" "$report" | sed -n "s/$2/\1/p"
}

status=0
for program in "${programs[@]}"; do
    # One test per indented line of the listing.
    listed=$(cd "$work/bundle" && wine "./$program.exe" --gtest_list_tests | tr -d '\r' |
        grep -c '^  ')
    ran=$(summary_count "$program" '^\[==========\] \([0-9]*\) tests\? from .* ran\..*')
    passed=$(summary_count "$program" '^\[  PASSED  \] \([0-9]*\) tests\?\.$')
    # A test that only a real Windows can answer skips under Wine, with its reason.
    skipped=$(summary_count "$program" '^\[  SKIPPED \] \([0-9]*\) tests\?[.,].*')
    echo "$program: $listed tests listed; the report says ${ran:-none} ran," \
        "${passed:-none} passed, ${skipped:-none} skipped"
    if [ "$ran" != "$listed" ] || [ $((${passed:-0} + ${skipped:-0})) != "$listed" ]; then
        sed -n "/^==== $program ====\$/,/^====\|^Result: /p" "$report" >&2
        status=1
    fi
done
grep '^Result: ' "$report"
exit "$status"
