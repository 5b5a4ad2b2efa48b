#!/usr/bin/env bash
# The release workflow's update of the package in winget-pkgs (Git Bash on Windows):
#   ci-winget-update.sh VERSION REPOSITORY_URL
# Only with WINGET_CREATE_GITHUB_TOKEN set (a classic token with the public_repo scope,
# whose account has a fork of winget-pkgs), and only once a first version has been merged:
# that one goes by hand (docs/package-managers.md). wingetcreate reads the merged
# manifests, downloads the release's zips, hashes them and opens the pull request.
set -Eeuo pipefail
trap 'echo "ci-winget-update.sh: \"$BASH_COMMAND\" failed with exit code $?" >&2' ERR
version=$1 repository=$2
identifier=Pelgrin.Vantrel

if [ -z "${WINGET_CREATE_GITHUB_TOKEN:-}" ]; then
    echo "No WINGET_CREATE_GITHUB_TOKEN secret: Vantrel $version is not submitted to winget-pkgs"
    exit 0
fi
if ! winget show --id "$identifier" --exact --source winget --accept-source-agreements \
    --disable-interactivity >/dev/null; then
    echo "::notice title=winget::$identifier is not in winget-pkgs yet: submit its first version by hand"
    exit 0
fi
download="$repository/releases/download/v$version"
# Microsoft's published build of winget-create.
curl -fsSL -o wingetcreate.exe https://aka.ms/wingetcreate/latest
./wingetcreate.exe update "$identifier" --version "$version" --submit \
    --urls "$download/Vantrel-$version-windows-x64.zip|x64" "$download/Vantrel-$version-windows-x86.zip|x86"
