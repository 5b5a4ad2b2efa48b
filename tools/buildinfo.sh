#!/usr/bin/env bash
# Prints what a release was built from, for BUILDINFO.txt: buildinfo.sh COMMIT EPOCH REPOSITORY
# A rebuild gives the same bytes only with the same commit, time, repository address (which
# the package manifests name) and tool versions, so a verifier can say which of them differ
# when the bytes do.
set -euo pipefail
commit=$1 epoch=$2 repository=$3
echo "commit $commit"
echo "SOURCE_DATE_EPOCH $epoch"
echo "repository $repository"
echo "Debian $(cat /etc/debian_version)"
for package in g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
    gcc-mingw-w64-x86-64-posix-runtime binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix gcc-mingw-w64-i686-posix-runtime \
    binutils-mingw-w64-i686 mingw-w64-i686-dev \
    mingw-w64-common cmake ninja-build python3 python3-yaml osslsigncode; do
    echo "$package $(dpkg-query -W -f='${Version}' "$package" 2>/dev/null || echo 'not installed')"
done
