#!/usr/bin/env bash
# The release workflow's steps, kept here so that they are linted and can be tried
# on a Debian machine:
#   ci-release.sh check-tag TAG   fails unless TAG is v<the project's version>
#   ci-release.sh build OUTPUT REPOSITORY
#                                 tools/release.sh, signed when the signing secrets are set,
#                                 its package manifests naming REPOSITORY's downloads
#   ci-release.sh notes TAG       prints that version's section of CHANGELOG.md
# build reads VANTREL_SIGN_PFX_BASE64 (the PKCS#12 file, base64) and hands the rest
# of the signing environment (VANTREL_SIGN_PASSWORD, VANTREL_SIGN_TIMESTAMP_URL) to
# tools/release.sh as it is.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
    echo "ci-release.sh: $*" >&2
    exit 1
}

project_version() {
    sed -n 's/^project(Vantrel VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt
}

check_tag() {
    local version
    version=$(project_version)
    [ "$1" = "v$version" ] ||
        fail "the tag $1 does not match the project's version $version (CMakeLists.txt): tag v$version"
    echo "tag $1 is version $version"
}

build() {
    local output=$1 repository=$2
    if [ -z "${VANTREL_SIGN_PFX_BASE64:-}" ]; then
        # GitHub hands an absent secret over as an empty variable.
        unset VANTREL_SIGN_PASSWORD VANTREL_SIGN_TIMESTAMP_URL VANTREL_SIGN_PFX_BASE64
        echo "::warning title=Unsigned release::the repository has no VANTREL_SIGN_PFX_BASE64 secret: Vantrel.exe is not signed"
        bash tools/release.sh --repository "$repository" "$output"
        return
    fi
    # Global, so that the exit trap still sees it.
    pfx=$(umask 077 && mktemp "${RUNNER_TEMP:-/tmp}/sign.XXXXXX.pfx")
    trap 'rm -f "$pfx"' EXIT
    base64 -d <<<"$VANTREL_SIGN_PFX_BASE64" >"$pfx" || fail "VANTREL_SIGN_PFX_BASE64 is not base64"
    unset VANTREL_SIGN_PFX_BASE64
    VANTREL_SIGN_PFX=$pfx bash tools/release.sh --repository "$repository" "$output"
}

# The lines under "## [VERSION]" up to the next "## [" heading, without blank edges.
notes() {
    local version=${1#v} section
    section=$(awk -v heading="## [$version]" '
        index($0, heading) == 1 { inside = 1; next }
        inside && /^## \[/ { exit }
        inside { print }' CHANGELOG.md | sed '/./,$!d')
    [ -n "$section" ] || fail "CHANGELOG.md has no section \"## [$version]\""
    printf '%s\n' "$section"
}

case ${1:-} in
check-tag) [ $# -eq 2 ] || fail "usage: $0 check-tag TAG"; check_tag "$2" ;;
build) [ $# -eq 3 ] || fail "usage: $0 build OUTPUT_DIR REPOSITORY_URL"; build "$2" "$3" ;;
notes) [ $# -eq 2 ] || fail "usage: $0 notes TAG"; notes "$2" ;;
*) fail "usage: $0 check-tag TAG | build OUTPUT_DIR REPOSITORY_URL | notes TAG" ;;
esac
