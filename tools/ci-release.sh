#!/usr/bin/env bash
# The release workflow's steps, kept here so that they are linted and can be tried
# on a Debian machine:
#   ci-release.sh check-tag TAG   fails unless TAG is v<the project's version>
#   ci-release.sh build OUTPUT REPOSITORY
#                                 tools/release.sh, signed when the signing secrets are set,
#                                 its package manifests naming REPOSITORY's downloads
#   ci-release.sh notes TAG       prints that version's section of CHANGELOG.md
#   ci-release.sh check-bucket-line REPOSITORY
#                                 fails unless both READMEs add REPOSITORY as the Scoop bucket
#   ci-release.sh bucket MANIFEST OWNER/NAME
#                                 commits MANIFEST (the release's vantrel.json) as the Scoop
#                                 bucket's bucket/vantrel.json on OWNER/NAME's default branch,
#                                 through GitHub's API with GH_TOKEN
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

# The READMEs' install line must name the repository whose bucket the release updates.
check_bucket_line() {
    local readme line
    for readme in README.md README.zh-CN.md; do
        line=$(grep -o 'scoop bucket add vantrel [^ ]*' "$readme") || fail "$readme has no \"scoop bucket add vantrel\" line"
        [ "$line" = "scoop bucket add vantrel $1" ] ||
            fail "$readme says \"$line\": the release updates the bucket of $1; say that"
    done
    echo "both READMEs add $1 as the Scoop bucket"
}

# Through the contents API, so that no job keeps a git credential: a file that exists is
# replaced by naming the blob it replaces.
bucket() {
    local manifest=$1 repo=$2 version branch blob path=bucket/vantrel.json
    version=$(sed -n 's/^    "version": "\(.*\)",$/\1/p' "$manifest")
    [ -n "$version" ] || fail "$manifest has no version"
    branch=$(gh api "repos/$repo" --jq .default_branch)
    # Absent before the first release: the API answers 404.
    blob=$(gh api "repos/$repo/contents/$path?ref=$branch" --jq .sha 2>/dev/null) || blob=""
    local fields=(-f "message=Scoop bucket: Vantrel $version" -f "branch=$branch"
        -f "content=$(base64 -w 0 <"$manifest")")
    [ -z "$blob" ] || fields+=(-f "sha=$blob")
    echo "Committing Vantrel $version's $path to $repo's $branch"
    gh api -X PUT "repos/$repo/contents/$path" "${fields[@]}" --jq '"commit " + .commit.sha'
}

case ${1:-} in
check-tag) [ $# -eq 2 ] || fail "usage: $0 check-tag TAG"; check_tag "$2" ;;
build) [ $# -eq 3 ] || fail "usage: $0 build OUTPUT_DIR REPOSITORY_URL"; build "$2" "$3" ;;
notes) [ $# -eq 2 ] || fail "usage: $0 notes TAG"; notes "$2" ;;
check-bucket-line) [ $# -eq 2 ] || fail "usage: $0 check-bucket-line REPOSITORY_URL"; check_bucket_line "$2" ;;
bucket) [ $# -eq 3 ] || fail "usage: $0 bucket MANIFEST OWNER/NAME"; bucket "$2" "$3" ;;
*) fail "usage: $0 check-tag TAG | build OUTPUT_DIR REPOSITORY_URL | notes TAG | check-bucket-line REPOSITORY_URL | bucket MANIFEST OWNER/NAME" ;;
esac
