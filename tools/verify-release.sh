#!/usr/bin/env bash
# Rebuilds the release of the checked-out commit and compares it with downloaded files:
#   tools/verify-release.sh DIR
# DIR holds the downloaded SHA256SUMS and any of the files it lists; BUILDINFO.txt, when
# there, gives the commit, SOURCE_DATE_EPOCH and the repository address to rebuild with.
# Says per file: same, same apart from the signature (or, for the package manifests, the
# signed zips' hashes), differs, not downloaded, or not comparable (the tests zip), and
# exits 1 on any difference. The rebuild is left in build/verify.
set -euo pipefail
# A rebuild is never signed: no signing setting of the caller's may reach it.
unset VANTREL_SIGN_PASSWORD VANTREL_SIGN_PFX VANTREL_SIGN_TIMESTAMP_URL
caller=$PWD
cd "$(dirname "$0")/.."

fail() {
    echo "verify: $*" >&2
    exit 1
}

if [ $# -ne 1 ]; then
    echo "usage: $0 DIR   (DIR holds the downloaded SHA256SUMS and archives)" >&2
    exit 2
fi
downloaded=$1
[[ $downloaded = /* ]] || downloaded=$caller/$downloaded
[ -f "$downloaded/SHA256SUMS" ] || fail "no SHA256SUMS in $downloaded"

unset SOURCE_DATE_EPOCH
options=(--no-tests)
if [ -f "$downloaded/BUILDINFO.txt" ]; then
    released=$(sed -n 's/^commit \([0-9a-f]*\).*/\1/p' "$downloaded/BUILDINFO.txt")
    [ "$released" = "$(git rev-parse HEAD)" ] ||
        fail "$downloaded holds a release of commit $released; check it out first: git checkout $released"
    SOURCE_DATE_EPOCH=$(sed -n 's/^SOURCE_DATE_EPOCH //p' "$downloaded/BUILDINFO.txt")
    export SOURCE_DATE_EPOCH
    # The address the package manifests name.
    repository=$(sed -n 's/^repository //p' "$downloaded/BUILDINFO.txt")
    [ -z "$repository" ] || options+=(--repository "$repository")
    # Another Debian release has another compiler and MinGW-w64: say so before the build.
    built_on=$(sed -n 's/^Debian \([^.]*\).*/\1/p' "$downloaded/BUILDINFO.txt")
    here=$(cut -d . -f 1 /etc/debian_version 2>/dev/null || echo "not Debian")
    if [ -n "$built_on" ] && [ "$built_on" != "$here" ]; then
        echo "verify: the release was built on Debian $built_on and this is Debian $here: expect the exe" \
            "to differ; rebuild on Debian $built_on (a debian:$built_on container will do)" >&2
    fi
else
    echo "verify: no BUILDINFO.txt in $downloaded: rebuilding $(git rev-parse --short HEAD) at its commit time"
fi

if [ -n "$(git status --porcelain)" ]; then
    echo "verify: the tree has uncommitted changes: the rebuild is of them, not of a commit" >&2
fi
rebuilt=build/verify
log=build/verify.log
echo "verify: rebuilding into $rebuilt (a few minutes; the log is $log)"
mkdir -p build
tools/release.sh "${options[@]}" "$rebuilt" >"$log" 2>&1 || {
    tail -n 20 "$log" >&2
    fail "the rebuild failed; see $log"
}
python3 tools/compare_release.py "$downloaded" "$rebuilt"
