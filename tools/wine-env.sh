# shellcheck shell=bash
# Sourced with the session folder as $1: the environment every Wine run of ours shares.
# Hermetic: the prefix, the trash (Recycle Bin) and the display all live in that folder.
wine_dir=$(mkdir -p "$1" && cd "$1" && pwd)
export WINEPREFIX="$wine_dir/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export XDG_DATA_HOME="$wine_dir/xdg-data"
# Wine names files through the Unix locale: without one (a fresh container sets none)
# it cannot name 记事本.lnk. C.UTF-8 is on every Debian, whatever the caller's locale.
export LC_ALL=C.UTF-8
# Debian's wine command takes the 32-bit loader whenever wine32 is installed, and on a
# kernel without 32-bit support that loader fails for 64-bit programs too: there, the
# session's own wine commands run the 64-bit loader.
if [ -x /usr/lib/wine/wine ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    mkdir -p "$wine_dir/bin"
    for command in wine wine-stable; do
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$wine_dir/bin/$command"
        chmod +x "$wine_dir/bin/$command"
    done
    export PATH="$wine_dir/bin:$PATH"
fi
if [ -f "$wine_dir/display" ]; then
    DISPLAY=":$(cat "$wine_dir/display")"
    export DISPLAY
fi
