#include "app/ShowCommand.h"

namespace vantrel::app {

int WithoutMaximize(int showCommand) {
    return showCommand == SW_SHOWMAXIMIZED ? SW_SHOWNORMAL : showCommand;  // also SW_MAXIMIZE
}

void MaximizeInPlace(HWND window, MINMAXINFO& limits) {
    RECT frame{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetWindowRect(window, &frame) ||
        !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return;
    }
    // The maximized position counts from the corner of the monitor it maximizes on.
    limits.ptMaxPosition = {frame.left - monitor.rcMonitor.left, frame.top - monitor.rcMonitor.top};
    limits.ptMaxSize = {frame.right - frame.left, frame.bottom - frame.top};
}

bool Activates(int showCommand) {
    return showCommand != SW_SHOWNOACTIVATE && showCommand != SW_SHOWNA &&
           showCommand != SW_SHOWMINNOACTIVE;
}

}  // namespace vantrel::app
