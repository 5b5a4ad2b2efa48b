#!/usr/bin/env bash
# Exits 0 where the kernel runs 32-bit x86 programs; otherwise prints why and exits 1.
# Needs nothing installed: it runs a 93-byte static i386 program that only calls
# exit(0), so it answers before wine32 (or any i386 library) is there.
set -euo pipefail
export LC_ALL=C
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# ELF header, one loadable segment, then: mov eax, 1; xor ebx, ebx; int 0x80.
printf '\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\061\333\315\200' >"$dir/probe"
chmod +x "$dir/probe"
if ! error=$("$dir/probe" 2>&1); then
    echo "this kernel runs no 32-bit programs: a 32-bit test program failed${error:+ with \"${error##*: }\"}"
    exit 1
fi
