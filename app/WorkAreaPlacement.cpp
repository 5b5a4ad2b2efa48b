#include "app/WorkAreaPlacement.h"

#include <algorithm>
#include <limits>

#include "app/Dpi.h"

namespace vantrel::app {
namespace {

bool Holds(const RECT& area, POINT point) {
    return point.x >= area.left && point.x < area.right && point.y >= area.top &&
           point.y < area.bottom;
}

long long SquaredDistance(const RECT& area, POINT point) {
    const long long dx = point.x < area.left     ? area.left - point.x
                         : point.x >= area.right ? point.x - (area.right - 1)
                                                 : 0;
    const long long dy = point.y < area.top       ? area.top - point.y
                         : point.y >= area.bottom ? point.y - (area.bottom - 1)
                                                  : 0;
    return dx * dx + dy * dy;
}

// The monitor whose `part` (its whole area or its work area) holds `point`, else the one
// nearest to it; null when there are none.
const MonitorArea* Nearest(std::span<const MonitorArea> monitors, RECT MonitorArea::*part,
                           POINT point) {
    const MonitorArea* nearest = nullptr;
    long long nearestDistance = std::numeric_limits<long long>::max();
    for (const MonitorArea& monitor : monitors) {
        const long long distance = SquaredDistance(monitor.*part, point);
        if (distance < nearestDistance) {
            nearest = &monitor;
            nearestDistance = distance;
        }
        if (distance == 0) break;
    }
    return nearest;
}

// `at` where it lies in [low, high); else as near as a window of `size` fits, never below `low`.
LONG Within(LONG at, LONG size, LONG low, LONG high) {
    if (at >= low && at < high) return at;
    return std::max(low, std::min(at, high - size));
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM monitors) {
    // Nothing may unwind into the system's enumeration: out of memory ends it instead.
    try {
        reinterpret_cast<std::vector<HMONITOR>*>(monitors)->push_back(monitor);
    } catch (...) {
        return FALSE;
    }
    return TRUE;
}

}  // namespace

POINT PlaceOnWorkAreas(const RECT& frame, std::span<const MonitorArea> monitors) {
    const POINT corner{frame.left, frame.top};
    const MonitorArea* nearest = Nearest(monitors, &MonitorArea::work, corner);
    if (!nearest || Holds(nearest->work, corner)) return corner;
    const RECT& work = nearest->work;
    return {Within(frame.left, frame.right - frame.left, work.left, work.right),
            Within(frame.top, frame.bottom - frame.top, work.top, work.bottom)};
}

CentredFrame CentreOnMonitor(POINT createdAt, std::span<const MonitorArea> monitors,
                             UINT fallbackDpi, SIZE (*frameAt)(UINT dpi)) {
    const MonitorArea* monitor = Nearest(monitors, &MonitorArea::area, createdAt);
    const UINT dpi = monitor && monitor->dpi ? monitor->dpi : fallbackDpi;
    const SIZE size = frameAt(dpi);
    RECT frame{createdAt.x, createdAt.y, createdAt.x + size.cx, createdAt.y + size.cy};
    if (monitor) {
        const RECT& work = monitor->work;
        const LONG left = work.left + (work.right - work.left - size.cx) / 2;
        const LONG top = work.top + (work.bottom - work.top - size.cy) / 2;
        frame = {left, top, left + size.cx, top + size.cy};
    }
    const POINT at = PlaceOnWorkAreas(frame, monitors);
    return {{at.x, at.y, at.x + size.cx, at.y + size.cy}, dpi};
}

std::vector<MonitorArea> CurrentMonitors() {
    std::vector<HMONITOR> handles;
    if (!EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&handles))) {
        return {};
    }
    std::vector<MonitorArea> monitors;
    for (const HMONITOR handle : handles) {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!GetMonitorInfoW(handle, &info)) continue;
        // One monitor's DPI is every window's: no need to load the library that tells it.
        monitors.push_back(
            {info.rcMonitor, info.rcWork, handles.size() > 1 ? DpiForMonitor(handle) : 0});
    }
    return monitors;
}

}  // namespace vantrel::app
