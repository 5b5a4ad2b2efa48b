#!/usr/bin/env bash
# Builds and runs the benchmarks: Vantrel's window against minimal Win32 floors
# under Wine, then the logic's native Google Benchmark. Usage: tools/bench.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
tools/install-deps.sh libbenchmark-dev

cmake --preset windows -DVANTREL_BUILD_BENCH=ON >/dev/null
cmake --build --preset windows --target vantrel_window_bench vantrel_start_compare
cmake --preset bench >/dev/null
cmake --build --preset bench --target vantrel_logic_bench

session=build/windows/wine
tools/wine-session.sh start "$session" >/dev/null
trap 'tools/wine-session.sh stop "$session"' EXIT
. tools/wine-env.sh "$session"

echo "## Machine"
echo
echo "- CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(nproc) logical cores"
echo "- $(uname -sr), $(wine --version), $(date -u +%Y-%m-%d)"
echo
echo "## Window under Wine (median of $runs runs)"
echo
# Wine shows the Linux file system as drive Z:.
VANTREL_EXE="Z:$PWD/build/windows/app/Vantrel.exe" \
    VANTREL_FLOOR_EXE="Z:$PWD/build/windows/bench/window/vantrel_floor_window.exe" \
    VANTREL_SAME_JOB_FLOOR_EXE="Z:$PWD/build/windows/bench/window/vantrel_same_job_floor.exe" \
    wine build/windows/bench/window/vantrel_window_bench.exe "$runs"
echo
echo "## Logic, native"
echo
build/bench/bench/vantrel_logic_bench --benchmark_repetitions=1 2>&1
