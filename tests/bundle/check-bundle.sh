#!/usr/bin/env bash
# Runs the test bundle under Wine as a Windows user would: builds the zip, unzips it,
# runs run-tests.cmd /y there and checks test-report.txt with check-report.sh, as the
# CI does on Windows. Every program in it has run as a test of its own already, so only
# a few of their tests run here: enough to show that the bundle is whole, that its
# programs find Vantrel.exe beside them, and that the report tells passes and skips,
# which the report check reads: it passes this report and fails it spoiled.
#   check-bundle.sh SOURCE_DIR BUILD_DIR WINE_SESSION_DIR
set -euo pipefail
source_dir=$1
build=$2
session=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$source_dir/tools/test-bundle.sh" "$build" "$work/tests.zip"
unzip -q "$work/tests.zip" -d "$work/bundle"
. "$source_dir/tools/wine-env.sh" "$session"

# GoogleTest reads the filter from the environment, for the run and for the report
# check's listing alike; Wine hands it on. The start-up figures are read on Windows only.
export VANTREL_STARTUP_RUNS=0
export GTEST_FILTER='*/ResolvesFolder.*:ExecutableImage.ImportsOnlyDllsOfTheSystem:StartListTest.*:Win32RecycleFile.FileInUse*'

started=$(date +%s)
# Wine starts its desktop process from the first program that needs a window, and
# that process inherits the program's output handles: had a test program started
# it, it would hold test-report.txt open against every later write. So a window is
# made first with output to a file of its own; the desktop then lives as long as this
# cmd does. The script's own exit code is only a summary; the report is what is checked.
warm_up="vantrel_window_tests.exe --gtest_filter=Form1InProcess.PointerOverLabel1* >warm-up.txt 2>&1"
(cd "$work/bundle" && wine cmd /c "$warm_up & run-tests.cmd /y") || true
echo "run-tests.cmd took $(($(date +%s) - started)) s"
# A warm-up that ran no test made no window.
"$source_dir/tests/run-counted.sh" 1 cat "$work/bundle/warm-up.txt"
"$source_dir/tests/bundle/check-report.sh" "$work/bundle" wine
# The check must fail the report changed to hide a test: a header line gone, a program left
# out, fewer passed than ran, a skip for a reason of no system's, or for none.
report=$work/bundle/test-report.txt
cp "$report" "$work/report.txt"
for change in '/^UI language: /d' '/^==== vantrel_window_tests ====/,$d' 's/^\[  PASSED  \] [0-9]*/[  PASSED  ] 0/' \
    '/: Skipped\r$/{n;s/^Wine/Not yet/}' '/: Skipped\r$/{n;s/.*/\r/}'; do
    sed "$change" "$work/report.txt" >"$report"
    if "$source_dir/tests/bundle/check-report.sh" "$work/bundle" wine >/dev/null 2>&1; then
        echo "check-report.sh passed the report changed by sed '$change'" >&2
        exit 1
    fi
done
