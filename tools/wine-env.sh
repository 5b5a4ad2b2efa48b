# shellcheck shell=bash
# Sourced with the session folder as $1: the environment every Wine run of ours shares.
# Hermetic: the prefix, the trash (Recycle Bin) and the display all live in that folder.
wine_dir=$(mkdir -p "$1" && cd "$1" && pwd)
export WINEPREFIX="$wine_dir/prefix"
# 64-bit, and 32-bit programs too where wine32 is installed (tools/wine-session.sh).
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export XDG_DATA_HOME="$wine_dir/xdg-data"
# Wine names files through the Unix locale: without one (a fresh container sets none)
# it cannot name 记事本.lnk. C.UTF-8 is on every Debian, whatever the caller's locale.
export LC_ALL=C.UTF-8
# Debian's wine starts its 32-bit loader whenever wine32 is installed, which fails where the
# kernel runs no 32-bit programs: there the 64-bit loader runs the 64-bit programs alone.
if [ -x /usr/lib/wine/wine64 ] && ! "$(dirname "${BASH_SOURCE[0]}")/wine32-check.sh" >/dev/null; then
    mkdir -p "$wine_dir/bin"
    for name in wine wine-stable; do
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$wine_dir/bin/$name"
        chmod +x "$wine_dir/bin/$name"
    done
    export PATH="$wine_dir/bin:$PATH" WINELOADER=/usr/lib/wine/wine64
fi
if [ -f "$wine_dir/display" ]; then
    DISPLAY=":$(cat "$wine_dir/display")"
    export DISPLAY
fi
