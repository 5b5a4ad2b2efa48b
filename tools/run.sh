#!/usr/bin/env bash
# Builds Vantrel.exe and opens it under Wine. On a desktop it opens on your display;
# with no display it starts a virtual one, saves a screenshot of the window and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Vantrel
exe=build/windows/app/Vantrel.exe
session=build/windows/wine

if [ -n "${DISPLAY:-}" ]; then
    tools/wine-session.sh prefix "$session"
    . tools/wine-env.sh "$session"
    exec wine "$exe"
fi

shot=${VANTREL_SCREENSHOT:-build/vantrel.png}
tools/wine-session.sh start "$session"
trap 'tools/wine-session.sh stop "$session"' EXIT
. tools/wine-env.sh "$session"
wine "$exe" &
sleep "${VANTREL_SCREENSHOT_DELAY:-5}"
import -window root "$shot"
echo "No display: Vantrel ran on a virtual one; its screenshot is $shot"
