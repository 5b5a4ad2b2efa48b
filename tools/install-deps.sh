#!/usr/bin/env bash
# Installs the Debian packages Vantrel needs, only those missing:
#   install-deps.sh [--run] [PACKAGE...]
# --run: only what building Vantrel.exe and showing its window needs (tools/run.sh);
# otherwise the test and lint toolchain too. Any PACKAGE named is added either way.
# Made for Debian 12 (bookworm) and 13 (trixie): the names below are the same on both.
set -euo pipefail
export LC_ALL=C  # apt's messages are read below
here=$(cd "$(dirname "$0")" && pwd)
run_packages=(
    cmake ninja-build googletest git
    g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth
    fonts-wqy-microhei fonts-wine imagemagick
)
test_packages=(
    g++ libgtest-dev libgmock-dev mingw-w64 g++-mingw-w64-i686-posix
    clang libclang-rt-dev clang-tidy cppcheck
    python3 python3-yaml python3-jsonschema osslsigncode openssl unzip
    yamllint shellcheck
)
mode="test"
if [ "${1:-}" = --run ]; then
    mode="run"
    shift
fi
packages=("${run_packages[@]}" "$@")
if [ $mode = test ]; then
    packages+=("${test_packages[@]}")
    # Node.js runs the workflow linter; any Node from 18 on will do, Debian's or another.
    command -v node >/dev/null && command -v npm >/dev/null || packages+=(nodejs npm)
fi

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
# wine32 runs the x86 build's tests. Where the kernel runs no 32-bit programs it is left
# out: Debian's wine would pick its 32-bit loader, which cannot start there.
wine32=""
if [ $mode = test ] && ! installed wine32:i386; then
    if no_32bit=$("$here/runs-32bit.sh"); then
        wine32=wine32:i386
    else
        echo "install-deps: $no_32bit: wine32 is left out and the x86 suites will be skipped"
    fi
fi
[ ${#missing[@]} -eq 0 ] && [ -z "$wine32" ] && exit 0

release=$(. /etc/os-release 2>/dev/null && echo "${PRETTY_NAME:-an unknown system}") || release="an unknown system"
case $release in
"Debian GNU/Linux 12 (bookworm)" | "Debian GNU/Linux 13 (trixie)") echo "On $release" ;;
*) echo "On $release, not Debian 12 or 13, which this script is made for: trying all the same" ;;
esac
echo "Installing: ${missing[*]}${missing[*]:+${wine32:+ }}$wine32"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if [ -n "$wine32" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Adding the i386 architecture for wine32"
    $sudo dpkg --add-architecture i386
fi

# A mirror in mid-sync serves an index that fails its checksum for a while: try again,
# then go on with the lists apt has if they hold every package needed.
update_log=$(mktemp)
trap 'rm -f "$update_log"' EXIT
failed_indexes=""
for attempt in 1 2 3; do
    if $sudo apt-get update -q 2>&1 | tee "$update_log"; then
        failed_indexes=""
        break
    fi
    failed_indexes=$(grep -E '^(E|W): ' "$update_log" | grep -v 'Some index files failed' || echo "(apt-get update gave no reason)")
    [ $attempt -eq 3 ] || sleep $((attempt * 10))
done
if [ -n "$failed_indexes" ]; then
    echo "install-deps: apt-get update failed 3 times; going on with the package lists apt has. It said:" >&2
    echo "$failed_indexes" >&2
fi

has_candidate() {
    local policy
    # Read whole: grep -q stopping early would fail the pipe.
    policy=$(apt-cache policy "$1" 2>/dev/null)
    grep -q "Candidate: [^(]" <<<"$policy"
}
unavailable=()
for p in "${missing[@]}"; do
    has_candidate "$p" || unavailable+=("$p")
done
if [ ${#unavailable[@]} -gt 0 ]; then
    if [ -n "$failed_indexes" ]; then
        echo "install-deps: no package ${unavailable[*]} in the lists apt has, with the indexes above missing: try again once the mirror is whole" >&2
    else
        echo "install-deps: $release has no package ${unavailable[*]}: install those (or what replaces them) by hand" >&2
    fi
    exit 1
fi
[ ${#missing[@]} -eq 0 ] || $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
# A step of its own: without it the x86 suites are skipped, the rest still runs.
if [ -n "$wine32" ]; then
    if ! has_candidate "$wine32" || ! $sudo apt-get install -y -q --no-install-recommends "$wine32"; then
        echo "install-deps: $wine32 could not be installed${failed_indexes:+ (an index failed above)}: the x86 suites will be skipped" >&2
    fi
fi
