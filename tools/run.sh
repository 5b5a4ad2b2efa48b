#!/usr/bin/env bash
# Builds Vantrel.exe and opens it under Wine. On a desktop it opens on your display;
# with no display it starts a virtual one, saves a screenshot of the window and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --run
cmake --preset windows >/dev/null
cmake --build --preset windows --target Vantrel
exe=build/windows/app/Vantrel.exe
session=build/windows/wine

# A new prefix has an empty Send To folder where every Windows has its own entries:
# it gets those, so that the window first shows what a user sees. A folder that
# already has entries is left as it is.
windows_send_to=("Compressed (zipped) Folder.ZFSendToTarget" "Desktop (create shortcut).DeskLink"
    "Documents.mydocs" "Mail Recipient.MAPIMail")
give_send_to_windows_entries() {
    local send_to folder name
    send_to="$(wine cmd /c 'echo %APPDATA%' | tr -d '\r')\\Microsoft\\Windows\\SendTo"
    folder=$(winepath -u "$send_to" | tr -d '\r')
    mkdir -p "$folder"
    [ -z "$(ls -A "$folder")" ] || return 0
    for name in "${windows_send_to[@]}"; do
        : >"$folder/$name"
    done
    printf '\r\n[.ShellClassInfo]\r\n' >"$folder/desktop.ini"
    # Wine's attrib takes one attribute a call.
    wine attrib +h "$send_to\\desktop.ini" >/dev/null
    wine attrib +s "$send_to\\desktop.ini" >/dev/null
}

if [ -n "${DISPLAY:-}" ]; then
    tools/wine-session.sh prefix "$session"
    . tools/wine-env.sh "$session"
    give_send_to_windows_entries
    exec wine "$exe"
fi

shot=${VANTREL_SCREENSHOT:-build/vantrel.png}
tools/wine-session.sh start "$session"
trap 'tools/wine-session.sh stop "$session"' EXIT
. tools/wine-env.sh "$session"
give_send_to_windows_entries
wine "$exe" &
sleep "${VANTREL_SCREENSHOT_DELAY:-5}"
import -window root "$shot"
echo "No display: Vantrel ran on a virtual one; its screenshot is $shot"
