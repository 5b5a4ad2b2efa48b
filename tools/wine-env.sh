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
if [ -f "$wine_dir/display" ]; then
    DISPLAY=":$(cat "$wine_dir/display")"
    export DISPLAY
fi
