#!/usr/bin/env bash
# Builds a release of Vantrel from a fresh build folder of its own (build/release-build)
# and writes to OUTPUT_DIR (default build/release):
#   Vantrel-<version>-windows-x64.zip          Vantrel.exe, LICENSE and 说明.txt
#   Vantrel-<version>-windows-x64-symbols.zip  Vantrel.exe.debug, the debug information
#                                              that Vantrel.exe names in its debug link
#   Vantrel-<version>-windows-x64-tests.zip    the Windows tests with run-tests.cmd, for
#                                              running them on a real Windows machine
#   Vantrel.exe                                the exe of the zip, for comparing
#   SHA256SUMS                                 for `sha256sum -c`
# Usage: tools/release.sh [--no-tests] [OUTPUT_DIR]
#   --no-tests  builds no test programs and writes no tests zip (quicker)
#
# The version comes from project(Vantrel VERSION ...); a tree with uncommitted changes
# gives <version>-dirty. Every time stamp comes from SOURCE_DATE_EPOCH, by default the
# last commit's time, so the same commit always gives the same bytes.
#
# Signing (Authenticode, SHA-256) is configured by the environment only:
#   VANTREL_SIGN_PFX            the PKCS#12 file with the certificate and its key
#   VANTREL_SIGN_PASSWORD       its password (handed to the tools through a pipe)
#   VANTREL_SIGN_TIMESTAMP_URL  optional: an RFC 3161 time-stamping service
set -euo pipefail
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
output=${1:-build/release}
if [ -n "${SOURCE_DATE_EPOCH+set}" ]; then
    [[ $SOURCE_DATE_EPOCH =~ ^[0-9]+$ ]] ||
        fail "SOURCE_DATE_EPOCH must be a whole number of seconds since 1970, not '$SOURCE_DATE_EPOCH'"
fi
signing=no
if [ -n "${VANTREL_SIGN_PFX:-}" ] || [ -n "${VANTREL_SIGN_PASSWORD+set}" ] ||
    [ -n "${VANTREL_SIGN_TIMESTAMP_URL:-}" ]; then
    [ -n "${VANTREL_SIGN_PFX:-}" ] ||
        fail "signing needs VANTREL_SIGN_PFX, the path of a PKCS#12 (.pfx) file"
    [ -n "${VANTREL_SIGN_PASSWORD+set}" ] ||
        fail "signing needs VANTREL_SIGN_PASSWORD, the password of $VANTREL_SIGN_PFX"
    [ -f "$VANTREL_SIGN_PFX" ] || fail "VANTREL_SIGN_PFX: no such file: $VANTREL_SIGN_PFX"
    [ -r "$VANTREL_SIGN_PFX" ] || fail "VANTREL_SIGN_PFX: cannot read $VANTREL_SIGN_PFX"
    signing=yes
fi

tools/install-deps.sh

# The password reaches openssl and osslsigncode through a pipe, never a command line.
password_pipe() { printf '%s' "$VANTREL_SIGN_PASSWORD"; }
if [ "$signing" = yes ]; then
    if ! openssl pkcs12 -in "$VANTREL_SIGN_PFX" -noout -passin fd:3 3< <(password_pipe) 2>/dev/null &&
        ! openssl pkcs12 -legacy -in "$VANTREL_SIGN_PFX" -noout -passin fd:3 3< <(password_pipe) 2>/dev/null; then
        fail "VANTREL_SIGN_PFX: wrong password, or $VANTREL_SIGN_PFX is not a PKCS#12 file"
    fi
fi

git rev-parse --git-dir >/dev/null 2>&1 || fail "a release is built from a git checkout"
version=$(sed -n 's/^project(Vantrel VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no version in project(Vantrel VERSION ...) of CMakeLists.txt"
if [ -n "$(git status --porcelain)" ]; then
    version="$version-dirty"
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
outputs+=(Vantrel.exe SHA256SUMS)
# Nothing of an earlier release is left to be taken for this one.
for file in "${outputs[@]}" "$name-tests.zip"; do rm -f "${output:?}/$file"; done

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

# --- Package: sorted entries, fixed attributes and times, UTF-8 names.
cp LICENSE "docs/说明.txt" "$stage/"
python3 tools/make_zip.py "$stage/$name.zip" "$SOURCE_DATE_EPOCH" \
    "$stage/Vantrel.exe" "$stage/LICENSE" "$stage/说明.txt"
python3 tools/make_zip.py "$stage/$name-symbols.zip" "$SOURCE_DATE_EPOCH" "$stage/Vantrel.exe.debug"
[ "$tests" = yes ] && tools/test-bundle.sh "$build" "$stage/$name-tests.zip" "$stage/Vantrel.exe"
(cd "$stage" && sha256sum "${outputs[@]:0:${#outputs[@]}-1}" >SHA256SUMS)

# SHA256SUMS last: its presence says the release is whole.
for file in "${outputs[@]}"; do mv "$stage/$file" "$output/$file"; done
echo "release: $version in $output (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH)"
(cd "$output" && cat SHA256SUMS)
