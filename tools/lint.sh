#!/usr/bin/env bash
# Static checks over our own code; any finding fails the run.
#  - clang-tidy with .clang-tidy: the portable code and its tests through the native
#    build, the Win32 code through the MinGW build (clang told the Windows target and
#    given MinGW's C++ headers), the fuzz targets through the fuzz build.
#  - cppcheck over every folder of ours, with its Windows and GoogleTest knowledge.
#  - shellcheck over our shell scripts, and tools/workflows/lint.sh over the GitHub
#    workflows.
# The file lists come from the builds, so new sources are checked without edits here.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
for preset in native windows fuzz; do cmake --preset "$preset" >/dev/null; done

# Our C++ sources in a build's compile_commands.json whose path matches a pattern
# (resource scripts are compiled too, but are no C++).
sources() {
    grep -o '"file": *"[^"]*"' "build/$1/compile_commands.json" | sed 's/.*"\([^"]*\)"$/\1/' |
        { grep -E "^$PWD/($2)/.*\.cpp$" || true; } | sort -u
}

# MinGW's C++ headers, which clang does not find by itself for a -posix compiler.
mingw_args() {
    local compiler
    compiler=$(grep -o -m 1 '"command": *"[^ ]*' build/windows/compile_commands.json | sed 's/.*"//')
    echo "--extra-arg=--target=x86_64-w64-windows-gnu"
    echo | "$compiler" -E -x c++ - -v 2>&1 | sed -n 's|^ \(/.*/include/c++.*\)$|--extra-arg=-isystem\1|p'
}

status=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tidy() {
    local build=$1 folders=$2
    shift 2
    sources "$build" "$folders" >"$work/files"
    echo "clang-tidy ($build): $(wc -l <"$work/files") files"
    # No files means the list is broken, not that the code is clean.
    [ -s "$work/files" ] || { status=1; return; }
    xargs -r -P "$(nproc)" -n 1 clang-tidy -p "build/$build" --quiet "$@" \
        <"$work/files" >"$work/out" 2>&1 || status=1
    grep -v '^[0-9]* warnings\? \(and [0-9]* errors\? \)\?generated\.$' "$work/out" || true
}
tidy native 'sendto|tests/native'
mapfile -t mingw < <(mingw_args)
tidy windows 'platform|app|tests/windows|tests/bundle' "${mingw[@]}"
tidy fuzz 'fuzz'

echo "cppcheck"
cppcheck --enable=warning,performance,portability --error-exitcode=1 --inline-suppr \
    --std=c++20 --library=windows --library=googletest -D_WIN32 -DUNICODE -D_UNICODE \
    '-DVANTREL_VERSION_QUAD="1.0.0.0"' \
    -I . --quiet sendto platform app tests fuzz || status=1

echo "shellcheck"
git ls-files -z '*.sh' | xargs -0 shellcheck -x -S warning || status=1

echo "workflows"
tools/workflows/lint.sh || status=1

[ "$status" -eq 0 ] && echo "lint: no findings" || echo "lint: findings above"
exit "$status"
