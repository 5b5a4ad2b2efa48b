#!/usr/bin/env bash
# GitHub's Windows runners check the repository out with core.autocrlf=true. In such a
# clone every file pinned to LF or CRLF line ends must have them, and every script is pinned.
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

# What bash, Python and cmd read would take CRLF from such a clone unless it is pinned.
unpinned=$(git ls-files --eol -- '*.sh' '*.py' '*.cmd' | grep -v 'attr/.*eol=' || true)
[ -z "$unpinned" ] || { echo "FAIL not pinned: $unpinned"; status=1; }
[ "$status" -ne 0 ] || echo "a core.autocrlf=true checkout keeps every pinned line end"
exit "$status"
