#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and any named as
# arguments, only those missing. Made for Debian 12 (bookworm) and 13 (trixie): the
# names below are the same on both.
set -euo pipefail
packages=(
    cmake ninja-build g++ googletest libgtest-dev libgmock-dev
    mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 wine32:i386 xvfb xauth
    fonts-wqy-microhei fonts-wine imagemagick
    clang libclang-rt-dev clang-tidy cppcheck
    git python3 osslsigncode openssl unzip
    yamllint shellcheck python3-yaml
    "$@"
)
# Node.js runs the workflow linter; any Node from 18 on will do, Debian's or another.
command -v node >/dev/null && command -v npm >/dev/null || packages+=(nodejs npm)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

release=$(. /etc/os-release 2>/dev/null && echo "${PRETTY_NAME:-an unknown system}") || release="an unknown system"
case $release in
"Debian GNU/Linux 12 (bookworm)" | "Debian GNU/Linux 13 (trixie)") echo "On $release" ;;
*) echo "On $release, not Debian 12 or 13, which this script is made for: trying all the same" ;;
esac
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# wine32 runs the x86 build's tests; its packages are of the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Adding the i386 architecture for wine32"
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -q
unavailable=()
for p in "${missing[@]}"; do
    # Read whole: grep -q stopping early would fail the pipe.
    policy=$(apt-cache policy "$p" 2>/dev/null)
    grep -q "Candidate: [^(]" <<<"$policy" || unavailable+=("$p")
done
if [ ${#unavailable[@]} -gt 0 ]; then
    echo "install-deps: $release has no package ${unavailable[*]}: install those (or what replaces them) by hand" >&2
    exit 1
fi
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
