#!/usr/bin/env bash
# Builds a release of Vantrel from a fresh build folder of its own (build/release-build)
# and writes to OUTPUT_DIR (default build/release):
#   Vantrel-<version>-windows-x64.zip          Vantrel.exe, LICENSE and 说明.txt
#   Vantrel-<version>-windows-x64-symbols.zip  Vantrel.exe.debug, the debug information
#                                              that Vantrel.exe names in its debug link
#   Vantrel-<version>-windows-x64-tests.zip    the Windows tests with run-tests.cmd, for
#                                              running them on a real Windows machine
#   Vantrel.exe                                the exe of the zip, for comparing
#   BUILDINFO.txt                              the commit, time and tool versions
#   SHA256SUMS                                 for `sha256sum -c`
# Usage: tools/release.sh [--no-tests] [OUTPUT_DIR]
#   --no-tests  builds no test programs and writes no tests zip (quicker)
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
if [ "${1:-}" = --no-tests ]; then
    tests=no
    shift
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

mkdir -p "$output" 2>/dev/null || fail "cannot create the output folder $output"
output=$(cd "$output" && pwd)
probe=$(mktemp "$output/.write-test.XXXXXX" 2>/dev/null) || fail "cannot write to the output folder $output"
rm -f "$probe"
name="Vantrel-$version-windows-x64"
outputs=("$name.zip" "$name-symbols.zip")
[ "$tests" = yes ] && outputs+=("$name-tests.zip")
outputs+=(Vantrel.exe BUILDINFO.txt SHA256SUMS)

# Everything is written here first; the earlier release stays until the end.
stage=$(mktemp -d "$output/.stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT

# --- Build.
build=build/release-build
rm -rf "$build"
cmake --preset release >/dev/null
if [ "$tests" = yes ]; then
    cmake --build --preset release
else
    cmake --build --preset release --target Vantrel
fi
cp "$build/app/Vantrel.exe" "$build/app/Vantrel.exe.debug" "$stage/"

if [ "$signing" = yes ]; then
    sign=(osslsigncode sign -pkcs12 "$VANTREL_SIGN_PFX" -readpass /dev/fd/3 -h sha256
        -n Vantrel -in "$stage/Vantrel.exe" -out "$stage/Vantrel.signed.exe")
    [ -n "${VANTREL_SIGN_TIMESTAMP_URL:-}" ] && sign+=(-ts "$VANTREL_SIGN_TIMESTAMP_URL")
    "${sign[@]}" 3< <(password_pipe) >"$stage/sign.log" 2>&1 ||
        fail "signing failed: $(grep -v '^$' "$stage/sign.log" | tail -n 3 | tr '\n' ' ')"
    mv "$stage/Vantrel.signed.exe" "$stage/Vantrel.exe"
    echo "release: Vantrel.exe signed with $VANTREL_SIGN_PFX"
else
    echo "release: Vantrel.exe is not signed (set VANTREL_SIGN_PFX and VANTREL_SIGN_PASSWORD to sign it)"
fi

# --- Package: sorted entries, fixed attributes and times, Chinese names readable everywhere.
cp LICENSE "docs/说明.txt" "$stage/"
python3 tools/make_zip.py "$stage/$name.zip" "$SOURCE_DATE_EPOCH" \
    "$stage/Vantrel.exe" "$stage/LICENSE" "$stage/说明.txt"
python3 tools/make_zip.py "$stage/$name-symbols.zip" "$SOURCE_DATE_EPOCH" "$stage/Vantrel.exe.debug"
[ "$tests" = yes ] && tools/test-bundle.sh "$build" "$stage/$name-tests.zip" "$stage/Vantrel.exe"
tools/buildinfo.sh "$commit" "$SOURCE_DATE_EPOCH" >"$stage/BUILDINFO.txt"
(cd "$stage" && sha256sum "${outputs[@]:0:${#outputs[@]}-1}" >SHA256SUMS)

# SHA256SUMS goes first and comes back last: its presence says the release is whole, and
# no tests zip of an earlier build may pass for this one's.
rm -f "$output/SHA256SUMS" "$output/$name-tests.zip"
for file in "${outputs[@]}"; do mv "$stage/$file" "$output/$file"; done
echo "release: $version in $output (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH)"
(cd "$output" && cat SHA256SUMS)
untimed_warning
