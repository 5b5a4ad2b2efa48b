#!/usr/bin/env bash
# Runs one fuzz target on a fresh copy of its seed corpus, so the repository's seeds
# are never written:
#   fuzz-run.sh PROGRAM SEED_DIR WORK_DIR SECONDS [DICTIONARY]
# VANTREL_FUZZ_SECONDS, when set, overrides SECONDS. A finding is saved in WORK_DIR
# and fails the run.
set -euo pipefail
program=$1 seeds=$2 work=$3
seconds=${VANTREL_FUZZ_SECONDS:-$4}
dictionary=${5:-}

rm -rf "$work"
mkdir -p "$work/corpus" "$work/findings"
cp -R "$seeds/." "$work/corpus/"
options=(-max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
    -artifact_prefix="$work/findings/")
[ -n "$dictionary" ] && options+=(-dict="$dictionary")

echo "$(basename "$program"): ${seconds}s"
status=0
"$program" "${options[@]}" "$work/corpus" >"$work/log" 2>&1 || status=$?
grep -E '^stat::(number_of_executed_units|peak_rss_mb|new_units_added)' "$work/log" || true
if [ "$status" -ne 0 ]; then
    tail -n 40 "$work/log"
    echo "$(basename "$program"): finding saved in $work/findings" >&2
fi
exit "$status"
