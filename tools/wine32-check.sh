#!/usr/bin/env bash
# Exits 0 where Wine can run 32-bit Windows programs; otherwise prints why and exits 1.
# Wine's 32-bit loader is itself a 32-bit Linux program: it starts only where Debian's
# wine32:i386 is installed and the kernel runs 32-bit programs.
set -euo pipefail
export LC_ALL=C  # the reason is quoted in English whatever the caller's language
loader=/usr/lib/wine/wine
if [ ! -e "$loader" ]; then
    # Not installed where the kernel could not run it anyway (tools/install-deps.sh).
    "$(dirname "$0")/runs-32bit.sh" || exit 1
    echo "32-bit Wine is not installed (wine32:i386; tools/install-deps.sh installs it)"
    exit 1
fi
if ! error=$("$loader" --version 2>&1 >/dev/null); then
    echo "this system cannot run 32-bit programs: Wine's 32-bit loader fails with \"${error##*: }\""
    exit 1
fi
