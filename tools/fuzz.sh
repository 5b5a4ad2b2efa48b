#!/usr/bin/env bash
# Builds the fuzz targets and runs each for SECONDS (default 600) on a copy of its
# seeds, printing the executions count: tools/fuzz.sh [SECONDS]
# Findings are kept in build/fuzz/fuzz/<target>/findings and fail the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
tools/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
VANTREL_FUZZ_SECONDS=$seconds ctest --preset fuzz --verbose --timeout $((seconds + 300))
