#!/usr/bin/env bash
# Writes the Windows test bundle, a zip to run every Windows test on a real Windows:
#   test-bundle.sh BUILD_DIR OUT_ZIP [EXE]
# BUILD_DIR is a built windows preset folder (build/windows). The zip holds Vantrel.exe
# (EXE when given, else the build's own), the test programs, the small program that
# describes the system for the report with the same-job floor it times Vantrel against,
# and run-tests.cmd, which runs them and writes test-report.txt beside itself.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

fail() {
    echo "test-bundle.sh: $*" >&2
    exit 1
}

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    echo "usage: $0 BUILD_DIR OUT_ZIP [EXE]" >&2
    exit 2
fi
build=$1
out=$2
exe=${3:-$build/app/Vantrel.exe}

[ -d "$build" ] || fail "no build folder $build; build it first: cmake --preset windows && cmake --build --preset windows"
programs=(
    "$build/tests/vantrel_logic_tests.exe"
    "$build/tests/windows/vantrel_windows_tests.exe"
    "$build/tests/e2e/vantrel_window_tests.exe"
    "$build/tests/bundle/vantrel_system_report.exe"
    "$build/bench/window/vantrel_same_job_floor.exe"
)
if [ $# -eq 3 ] && [ ! -f "$exe" ]; then
    fail "the program given, $exe, does not exist"
fi
for file in "$exe" "${programs[@]}"; do
    [ -f "$file" ] || fail "$file is missing; build the windows preset first: cmake --build --preset windows"
    [ "$(head -c 2 "$file")" = MZ ] || fail "$file is not a Windows program"
done
command -v python3 >/dev/null || fail "python3 is not installed (apt-get install python3)"
# Dated like the release it may belong to, so the same build gives the same bytes.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$here/.." log -1 --format=%ct 2>/dev/null || date +%s)}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$exe" "$stage/Vantrel.exe"
cp "${programs[@]}" "$stage/"
# cmd reads its scripts with CRLF line ends, whatever the checkout did to them.
sed 's/\r*$/\r/' "$here/../tests/bundle/run-tests.cmd" >"$stage/run-tests.cmd"

mkdir -p "$(dirname "$out")"
zip_path="$(cd "$(dirname "$out")" && pwd)/$(basename "$out")"
python3 "$here/make_zip.py" "$zip_path" "$epoch" "$stage"/*
echo "wrote $out"
