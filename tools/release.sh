#!/usr/bin/env bash
# Builds a release of Vantrel for 64-bit (x64) and 32-bit (x86) Windows, each from a fresh
# build folder of its own (build/release-build, build/release-build-x86), and writes to
# OUTPUT_DIR (default build/release), for ARCH x64 and x86:
#   Vantrel-<version>-windows-ARCH.zip          Vantrel.exe, LICENSE and 说明.txt
#   Vantrel-<version>-windows-ARCH-symbols.zip  Vantrel.exe.debug, the debug information
#                                               that its Vantrel.exe names in its debug link
#   Vantrel-<version>-windows-ARCH-tests.zip    the Windows tests with run-tests.cmd, for
#                                               running them on a real Windows machine
#   Vantrel.exe                                 the x64 zip's exe, for comparing
#   Vantrel-<version>-winget.zip               the winget manifests, in winget-pkgs' folders
#   vantrel.json                               the Scoop manifest
#   BUILDINFO.txt                              the commit, time and tool versions
#   SHA256SUMS                                 for `sha256sum -c`
# Usage: tools/release.sh [--no-tests] [--repository URL] [OUTPUT_DIR]
#   --no-tests        builds no test programs and writes no tests zip (quicker)
#   --repository URL  the https address of the repository whose release publishes the
#                     zips, which the manifests' download addresses name; without it, a
#                     placeholder, and the script says so
# A relative OUTPUT_DIR or VANTREL_SIGN_PFX is taken from the folder it is run from. The
# files of an earlier release stay until the new ones are complete.
# tools/verify-release.sh rebuilds a release and compares it with downloaded files.
#
# The version comes from project(Vantrel VERSION ...); a tree with uncommitted changes
# gives <version>-dirty. Every time stamp comes from SOURCE_DATE_EPOCH, by default the
# last commit's time, so the same commit always gives the same bytes.
#
# Signing (Authenticode, SHA-256) is configured by the environment only:
#   VANTREL_SIGN_PFX            the PKCS#12 file with the certificate and its key
#   VANTREL_SIGN_PASSWORD       its password (handed to the tools through a pipe, and
#                               removed from the environment before anything starts)
#   VANTREL_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamping service; without it the
#                               signature stops verifying when the certificate expires
set -euo pipefail
# Before the first child process: no tool, compiler or build step may read the password.
password_given=${VANTREL_SIGN_PASSWORD+set}
password=${VANTREL_SIGN_PASSWORD-}
unset VANTREL_SIGN_PASSWORD
caller=$PWD
cd "$(dirname "$0")/.."

fail() {
    echo "release: $*" >&2
    exit 1
}

# --- What was asked, checked before anything is built or removed.
tests=yes
repository=
while [ $# -gt 0 ]; do
    case $1 in
    --no-tests) tests=no ;;
    --repository) [ $# -ge 2 ] || fail "--repository needs the repository's address"; repository=$2; shift ;;
    *) break ;;
    esac
    shift
done
if [ -z "$repository" ]; then
    repository=https://github.com/OWNER/vantrel
    echo "release: no --repository: the package manifests name the placeholder $repository" >&2
fi
# Paths given are the caller's; the default output is the repository's.
from_caller() { if [[ $1 = /* ]]; then echo "$1"; else echo "$caller/$1"; fi; }
output=build/release
[ -z "${1:-}" ] || output=$(from_caller "$1")
[ -z "${VANTREL_SIGN_PFX:-}" ] || VANTREL_SIGN_PFX=$(from_caller "$VANTREL_SIGN_PFX")
if [ -n "${SOURCE_DATE_EPOCH+set}" ]; then
    [[ $SOURCE_DATE_EPOCH =~ ^[0-9]+$ ]] ||
        fail "SOURCE_DATE_EPOCH must be a whole number of seconds since 1970, not '$SOURCE_DATE_EPOCH'"
fi
signing=no
if [ -n "${VANTREL_SIGN_PFX:-}" ] || [ -n "$password_given" ] ||
    [ -n "${VANTREL_SIGN_TIMESTAMP_URL:-}" ]; then
    [ -n "${VANTREL_SIGN_PFX:-}" ] ||
        fail "signing needs VANTREL_SIGN_PFX, the path of a PKCS#12 (.pfx) file"
    [ -n "$password_given" ] ||
        fail "signing needs VANTREL_SIGN_PASSWORD, the password of $VANTREL_SIGN_PFX"
    [ -f "$VANTREL_SIGN_PFX" ] || fail "VANTREL_SIGN_PFX: no such file: $VANTREL_SIGN_PFX"
    [ -r "$VANTREL_SIGN_PFX" ] || fail "VANTREL_SIGN_PFX: cannot read $VANTREL_SIGN_PFX"
    signing=yes
fi
untimed_warning() {
    [ "$signing" = yes ] && [ -z "${VANTREL_SIGN_TIMESTAMP_URL:-}" ] || return 0
    echo "release: WARNING: no VANTREL_SIGN_TIMESTAMP_URL: the signature carries no time stamp" >&2
    echo "release: WARNING: and stops verifying when the certificate expires" >&2
}
untimed_warning

tools/install-deps.sh

# The password reaches openssl and osslsigncode through a pipe, never a command line. As a
# line: both read up to the newline, so an empty password is an empty line, not nothing.
password_pipe() { printf '%s\n' "$password"; }
if [ "$signing" = yes ]; then
    if ! openssl pkcs12 -in "$VANTREL_SIGN_PFX" -noout -passin fd:3 3< <(password_pipe) 2>/dev/null &&
        ! openssl pkcs12 -legacy -in "$VANTREL_SIGN_PFX" -noout -passin fd:3 3< <(password_pipe) 2>/dev/null; then
        fail "VANTREL_SIGN_PFX: wrong password, or $VANTREL_SIGN_PFX is not a PKCS#12 file"
    fi
fi

git rev-parse --git-dir >/dev/null 2>&1 || fail "a release is built from a git checkout"
commit=$(git rev-parse HEAD)
version=$(sed -n 's/^project(Vantrel VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no version in project(Vantrel VERSION ...) of CMakeLists.txt"
if [ -n "$(git status --porcelain)" ]; then
    version="$version-dirty"
    commit="$commit-dirty"
    echo "release: the tree has uncommitted changes: this is $version, not a release of a commit" >&2
fi
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
# The manifests' version and address, checked before the build rather than after it. A
# -dirty version is never published, so no manifest may name it.
manifests=yes
if [[ $version = *-dirty ]]; then
    manifests=no
    echo "release: no package manifests for $version: they would name a release that is never published" >&2
else
    python3 tools/package_manifests.py "$version" "$repository" || exit 1
fi

mkdir -p "$output" 2>/dev/null || fail "cannot create the output folder $output"
output=$(cd "$output" && pwd)
probe=$(mktemp "$output/.write-test.XXXXXX" 2>/dev/null) || fail "cannot write to the output folder $output"
rm -f "$probe"
architectures=(x64 x86)
outputs=()
for arch in "${architectures[@]}"; do
    name="Vantrel-$version-windows-$arch"
    outputs+=("$name.zip" "$name-symbols.zip")
    [ "$tests" = yes ] && outputs+=("$name-tests.zip")
done
[ "$manifests" = no ] || outputs+=("Vantrel-$version-winget.zip" vantrel.json)
outputs+=(Vantrel.exe BUILDINFO.txt SHA256SUMS)

# Everything is written here first; the earlier release stays until the end.
stage=$(mktemp -d "$output/.stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT

# --- Build, sign and package each machine's program in turn.
# ARCH: the build preset and its folder.
preset_of() { if [ "$1" = x64 ]; then echo release; else echo "release-$1"; fi; }
build_dir_of() { if [ "$1" = x64 ]; then echo build/release-build; else echo "build/release-build-$1"; fi; }

# FOLDER: builds its Vantrel.exe (and the tests) into FOLDER with its debug file.
build_release() {
    local arch=$1 folder=$2 preset build
    preset=$(preset_of "$arch")
    build=$(build_dir_of "$arch")
    rm -rf "$build"
    cmake --preset "$preset" >/dev/null
    if [ "$tests" = yes ]; then
        cmake --build --preset "$preset"
    else
        cmake --build --preset "$preset" --target Vantrel
    fi
    mkdir -p "$folder"
    cp "$build/app/Vantrel.exe" "$build/app/Vantrel.exe.debug" "$folder/"
}

sign_exe() {
    local exe=$1 sign
    sign=(osslsigncode sign -pkcs12 "$VANTREL_SIGN_PFX" -readpass /dev/fd/3 -h sha256
        -n Vantrel -in "$exe" -out "$exe.signed")
    [ -n "${VANTREL_SIGN_TIMESTAMP_URL:-}" ] && sign+=(-ts "$VANTREL_SIGN_TIMESTAMP_URL")
    "${sign[@]}" 3< <(password_pipe) >"$stage/sign.log" 2>&1 ||
        fail "signing failed: $(grep -v '^$' "$stage/sign.log" | tail -n 3 | tr '\n' ' ')"
    mv "$exe.signed" "$exe"
}

# Sorted entries, fixed attributes and times, Chinese names readable everywhere.
package() {
    local arch=$1 folder=$2 name="Vantrel-$version-windows-$1"
    cp LICENSE "docs/说明.txt" "$folder/"
    python3 tools/make_zip.py "$stage/$name.zip" "$SOURCE_DATE_EPOCH" \
        "$folder/Vantrel.exe" "$folder/LICENSE" "$folder/说明.txt"
    python3 tools/make_zip.py "$stage/$name-symbols.zip" "$SOURCE_DATE_EPOCH" "$folder/Vantrel.exe.debug"
    [ "$tests" = no ] || tools/test-bundle.sh "$(build_dir_of "$arch")" "$stage/$name-tests.zip" "$folder/Vantrel.exe"
}

# Each program is signed as soon as it is built: a signing that fails stops before the next build.
for arch in "${architectures[@]}"; do
    build_release "$arch" "$stage/$arch"
    [ "$signing" = no ] || sign_exe "$stage/$arch/Vantrel.exe"
    package "$arch" "$stage/$arch"
done
cp "$stage/x64/Vantrel.exe" "$stage/Vantrel.exe"
[ "$manifests" = no ] ||
    python3 tools/package_manifests.py "$version" "$repository" "$SOURCE_DATE_EPOCH" "$stage" || exit 1
if [ "$signing" = yes ]; then
    echo "release: the Vantrel.exe of both builds signed with $VANTREL_SIGN_PFX"
else
    echo "release: Vantrel.exe is not signed (set VANTREL_SIGN_PFX and VANTREL_SIGN_PASSWORD to sign it)"
fi

tools/buildinfo.sh "$commit" "$SOURCE_DATE_EPOCH" "$repository" >"$stage/BUILDINFO.txt"
(cd "$stage" && sha256sum "${outputs[@]:0:${#outputs[@]}-1}" >SHA256SUMS)

# SHA256SUMS goes first and comes back last: its presence says the release is whole, and
# no tests zip of an earlier build may pass for this one's.
rm -f "$output/SHA256SUMS" "$output"/Vantrel-*-tests.zip
for file in "${outputs[@]}"; do mv "$stage/$file" "$output/$file"; done
echo "release: $version in $output (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH)"
(cd "$output" && cat SHA256SUMS)
untimed_warning
