#!/usr/bin/env bash
# GitHub's Windows runners check the repository out with core.autocrlf=true. In such a
# clone every file pinned to LF or CRLF line ends must have them, and the report check
# the Windows jobs run under bash must pass its own table of reports.
#   windows_checkout_test.sh SOURCE_DIR
# The clone holds what is committed: uncommitted changes are not checked.
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git clone -q -c core.autocrlf=true "$source_dir" "$work/clone"
cd "$work/clone"

status=0
# "i/lf w/crlf attr/text eol=lf <tab>path": the line ends in the clone against the pinned ones.
while IFS=$'\t' read -r info path; do
    read -r _ worktree attr <<<"$info"
    case $attr in
    *eol=lf*) wanted=w/lf ;;
    *eol=crlf*) wanted=w/crlf ;;
    *) continue ;;
    esac
    if [ "$worktree" != "$wanted" ]; then
        echo "FAIL $path: checked out as ${worktree#w/}, pinned to ${wanted#w/}"
        status=1
    fi
done < <(git ls-files --eol)

if ! bash tests/bundle/check-report-test.sh >"$work/report-check.log" 2>&1; then
    echo "FAIL the report check, run from the clone:"
    sed 's/^/    /' "$work/report-check.log"
    status=1
fi
[ "$status" -ne 0 ] || echo "a core.autocrlf=true checkout keeps every pinned line end; the report check passes there"
exit "$status"
