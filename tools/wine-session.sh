#!/usr/bin/env bash
# Starts or stops the Wine session that Windows test runs share:
#   wine-session.sh start|stop SESSION_DIR
#   wine-session.sh prefix SESSION_DIR
# start: makes the prefix once, starts a virtual display and one persistent wineserver.
# prefix: only makes the prefix (to run on the user's own display).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
command=$1
mkdir -p "$2"
dir=$(cd "$2" && pwd)

stop() {
    . "$here/wine-env.sh" "$dir"
    wineserver -k 2>/dev/null || true
    if [ -f "$dir/xvfb.pid" ]; then
        kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
        rm -f "$dir/xvfb.pid" "$dir/display"
    fi
}

# Wine's own fonts, copied into C:\windows\Fonts: Debian's fonts-wine puts them in
# $wine_fonts, where this Wine does not look. Marlett draws the caption buttons and
# other frame glyphs; without it they show as the letters "0 1 r".
wine_fonts=/usr/share/wine/fonts
prefix_fonts=(marlett.ttf)

install_fonts() {
    local font
    for font in "${prefix_fonts[@]}"; do
        if [ ! -f "$wine_fonts/$font" ]; then
            echo "$wine_fonts/$font is missing: install fonts-wine (tools/install-deps.sh)" >&2
            return 1
        fi
        cp "$wine_fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
    done
}

# A 64-bit prefix runs 32-bit programs only when it was made with 32-bit Wine at hand,
# which puts the 32-bit system in syswow64; one made before cannot load kernel32.dll.
lacks_32bit_system() {
    "$here/wine32-check.sh" >/dev/null && [ -f "$WINEPREFIX/.vantrel-ready" ] &&
        [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]
}

make_prefix() {
    . "$here/wine-env.sh" "$dir"
    local settings
    settings=$({ cat "$here/wine-prefix.reg"; echo "${prefix_fonts[@]}"; } | md5sum)
    if lacks_32bit_system; then
        echo "The Wine prefix $WINEPREFIX was made without 32-bit Wine and cannot run 32-bit programs: making it again"
        rm -f "$WINEPREFIX/.vantrel-ready"
    fi
    if [ ! -f "$dir/prefix/.vantrel-ready" ]; then
        rm -rf "$dir/prefix"
        wineboot -i >"$dir/wineboot.log" 2>&1
        wineserver -w
    elif [ "$(cat "$dir/prefix/.vantrel-ready")" = "$settings" ]; then
        return 0
    fi
    iconv -f UTF-8 -t UTF-16LE "$here/wine-prefix.reg" | { printf '\xff\xfe'; cat; } >"$dir/prefix.reg"
    wine regedit /S "Z:${dir//\//\\}\\prefix.reg" >>"$dir/wineboot.log" 2>&1
    wineserver -w
    install_fonts
    echo "$settings" >"$dir/prefix/.vantrel-ready"
}

# Xvfb picks a free display itself (-displayfd) and writes its number once it listens:
# a lock file in /tmp is no proof, since a chroot or container on this machine shares
# the abstract X sockets but not our /tmp.
start_display() {
    rm -f "$dir/display" "$dir/display.new"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
        </dev/null >"$dir/xvfb.log" 2>&1 3>"$dir/display.new" &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 100); do
        if grep -qx '[0-9][0-9]*' "$dir/display.new" 2>/dev/null; then
            mv "$dir/display.new" "$dir/display"
            return 0
        fi
        kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null || break
        sleep 0.1
    done
    echo "Xvfb did not start: $(tail -n 3 "$dir/xvfb.log")" >&2
    return 1
}

case $command in
start)
    stop
    make_prefix
    start_display
    . "$here/wine-env.sh" "$dir"
    setsid wineserver -p </dev/null >/dev/null 2>&1
    # Start Wine's background services now, detached: a service started by a test
    # would inherit the test's output pipe and keep ctest waiting for it.
    setsid wine wineboot </dev/null >/dev/null 2>&1
    echo "Wine session ready: prefix $WINEPREFIX, display $DISPLAY"
    ;;
stop)
    stop
    ;;
prefix)
    make_prefix
    ;;
*)
    echo "usage: $0 start|stop|prefix SESSION_DIR" >&2
    exit 2
    ;;
esac
