#!/usr/bin/env bash
# The release workflow's proof on a Windows runner (Git Bash) that a release installs,
# starts, shows its window and uninstalls through each package manager:
#   ci-install-check.sh validate MANIFEST_DIR    winget validate on the winget manifests
#   ci-install-check.sh winget MANIFEST_DIR      install from them, start, check, uninstall
#   ci-install-check.sh scoop REPOSITORY_URL     the same from the repository's Scoop bucket
# MANIFEST_DIR holds the unzipped Vantrel-<version>-winget.zip. Under set -e every native
# command's exit code counts, which PowerShell would not check; where Scoop exits 0 on a
# failure, the files it installs or removes are checked as well.
set -Eeuo pipefail
trap 'echo "ci-install-check.sh: \"$BASH_COMMAND\" failed with exit code $?" >&2' ERR
here=$(cd "$(dirname "$0")" && pwd)
# The folder Vantrel starts with, which its text box must then show.
shown='C:\Windows'

fail() {
    echo "ci-install-check.sh: $*" >&2
    exit 1
}

# The folder of the version's manifests inside MANIFEST_DIR.
version_folder() {
    local installer
    installer=$(find "$1" -name '*.installer.yaml' -print -quit)
    [ -n "$installer" ] || fail "no winget installer manifest under $1"
    dirname "$installer"
}

# COMMAND: starts Vantrel through COMMAND with $shown, waits for its window to show it,
# closes it, and checks how the program ended.
start_and_check() {
    command -v "$1" >/dev/null || fail "no $1 on the PATH after the install"
    echo "Starting: $1 $shown"
    "$1" "$shown" &
    local started=$!
    powershell.exe -NoProfile -ExecutionPolicy Bypass -File "$here/window-shows.ps1" "$shown" ||
        { kill "$started" 2>/dev/null; fail "Vantrel started through $1 did not show $shown"; }
    wait "$started" || fail "Vantrel started through $1 ended with exit code $?"
}

validate() {
    local folder
    folder=$(version_folder "$1")
    winget validate --manifest "$folder"
}

through_winget() {
    local folder links
    folder=$(version_folder "$1")
    winget validate --manifest "$folder"
    winget settings --enable LocalManifestFiles
    winget install --manifest "$folder" --accept-source-agreements --accept-package-agreements \
        --disable-interactivity
    # Where winget puts the portable alias; a new console would have it on its PATH.
    links="$(cygpath -u "$LOCALAPPDATA")/Microsoft/WinGet/Links"
    PATH="$links:$PATH"
    start_and_check vantrel
    winget uninstall --manifest "$folder" --disable-interactivity
    [ ! -e "$links/vantrel.exe" ] || fail "winget uninstall left $links/vantrel.exe"
}

through_scoop() {
    local repository=$1 root
    root="$(cygpath -u "$USERPROFILE")/scoop"
    # Scoop's own installer; a runner's user is an administrator, which it must be told.
    powershell.exe -NoProfile -ExecutionPolicy Bypass -Command \
        'Invoke-Expression "& {$(Invoke-RestMethod https://get.scoop.sh)} -RunAsAdmin"'
    scoop() { powershell.exe -NoProfile -ExecutionPolicy Bypass -File "$root/shims/scoop.ps1" "$@"; }
    scoop bucket add vantrel "$repository"
    [ -f "$root/buckets/vantrel/bucket/vantrel.json" ] ||
        fail "the bucket $repository has no bucket/vantrel.json on its default branch"
    scoop install vantrel/vantrel
    [ -f "$root/apps/vantrel/current/Vantrel.exe" ] || fail "scoop install left no Vantrel.exe"
    PATH="$root/shims:$PATH"
    start_and_check vantrel
    scoop uninstall vantrel
    [ ! -e "$root/apps/vantrel" ] || fail "scoop uninstall left $root/apps/vantrel"
}

case ${1:-} in
validate) [ $# -eq 2 ] || fail "usage: $0 validate MANIFEST_DIR"; validate "$2" ;;
winget) [ $# -eq 2 ] || fail "usage: $0 winget MANIFEST_DIR"; through_winget "$2" ;;
scoop) [ $# -eq 2 ] || fail "usage: $0 scoop REPOSITORY_URL"; through_scoop "$2" ;;
*) fail "usage: $0 validate MANIFEST_DIR | winget MANIFEST_DIR | scoop REPOSITORY_URL" ;;
esac
echo "ci-install-check.sh $1: passed"
