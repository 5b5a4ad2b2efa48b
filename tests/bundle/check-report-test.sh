#!/usr/bin/env bash
# check-report.sh must pass a whole report and fail every short one: a report that
# is missing, lacks its header, leaves a program out, or ran fewer tests than the
# program lists or passed fewer than it did not skip, or skipped one for a reason the system
# does not give. The "programs" here are text files holding their listing.
set -uo pipefail
checker="$(cd "$(dirname "$0")" && pwd)/check-report.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0

header='The tests touch no user setting, no Send To folder
Windows: 10.0 build 19045
Build: x86, run as a 32-bit program on 64-bit Windows
System DPI: 96
UI language: zh-CN
Loaded in Vantrel.exe once its window is idle: shell32.dll no oleaut32.dll yes
Start-up with 20 files, median of 5 runs: Vantrel 21.5 ms, same-job floor 20.0 ms, 1.08x
Start-up with 10,000 files, median of 5 runs: Vantrel 91.5 ms, same-job floor 80.0 ms, 1.14x
Date: today'
section() { # PROGRAM RAN PASSED [SKIPPED [REASON]]
    printf '==== %s ====\n' "$1"
    [ -z "${4:-}" ] || printf 'Z:\\tests\\One.cpp(9): Skipped\n%s\n\n' "${5-Wine asks first}"
    printf '[==========] %s tests from 1 test suite ran. (5 ms total)\n' "$2"
    printf '[  PASSED  ] %s tests.\n' "$3"
    [ -z "${4:-}" ] || printf '[  SKIPPED ] %s tests.\n' "$4"
}

# CASE EXPECTED(pass|fail) REPORT_TEXT|-: with "-", no report at all.
expect() {
    local name=$1 expected=$2 report=$3 dir=$work/$1 program
    mkdir -p "$dir"
    for program in vantrel_logic_tests vantrel_windows_tests vantrel_window_tests; do
        printf 'Suite.\n  One\n  Two\n' >"$dir/$program.exe"
    done
    [ "$report" = - ] || printf '%s\n' "$report" | sed 's/$/\r/' >"$dir/test-report.txt"
    local got=fail
    "$checker" "$dir" bash -c 'cat "$0"' >"$dir/log" 2>&1 && got=pass
    if [ "$got" = "$expected" ]; then
        passed=$((passed + 1))
    else
        echo "FAIL $name: expected $expected, got $got"
        sed 's/^/    /' "$dir/log"
        failed=$((failed + 1))
    fi
}

# The report of three programs that ran and passed these counts of their two tests.
report() { # LOGIC_RAN LOGIC_PASSED WINDOWS_RAN WINDOWS_PASSED WINDOW_RAN WINDOW_PASSED [SKIPPED [REASON]]
    printf '%s\n' "$header"
    section vantrel_logic_tests "$1" "$2"
    section vantrel_windows_tests "$3" "$4"
    section vantrel_window_tests "$5" "$6" "${@:7}"
    echo "Result: every test program passed."
}

whole=$(report 2 2 2 2 2 2)
expect whole_report pass "$whole"
expect no_report fail -
expect no_header fail "$(printf '%s\n' "$whole" | grep -v '^Windows: ')"
expect program_left_out fail "$(printf '%s\n' "$whole" | sed '/==== vantrel_window_tests/,/PASSED/d')"
expect fewer_ran fail "$(report 2 2 1 1 2 2)"
expect fewer_passed fail "$(report 2 1 2 2 2 2)"
expect skip_counted_with_the_passes pass "$(report 2 2 2 2 2 1 1)"
expect a_failure_beside_a_skip fail "$(report 2 2 2 2 2 0 1)"
expect skip_for_a_reason_the_system_does_not_give fail "$(report 2 2 2 2 2 1 1 'not ready yet')"
expect skip_without_a_reason fail "$(report 2 2 2 2 2 1 1 '')"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
