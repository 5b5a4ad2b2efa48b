#include "app/WorkAreaPlacement.h"

#include <algorithm>
#include <limits>

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

// `at` where it lies in [low, high); else as near as a window of `size` fits, never below `low`.
LONG Within(LONG at, LONG size, LONG low, LONG high) {
    if (at >= low && at < high) return at;
    return std::max(low, std::min(at, high - size));
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    // Nothing may unwind into the system's enumeration: out of memory ends it instead.
    try {
        reinterpret_cast<std::vector<RECT>*>(areas)->push_back(info.rcWork);
    } catch (...) {
        return FALSE;
    }
    return TRUE;
}

}  // namespace

POINT PlaceOnWorkAreas(const RECT& frame, std::span<const RECT> workAreas) {
    const POINT corner{frame.left, frame.top};
    const RECT* nearest = nullptr;
    long long nearestDistance = std::numeric_limits<long long>::max();
    for (const RECT& area : workAreas) {
        if (Holds(area, corner)) return corner;
        const long long distance = SquaredDistance(area, corner);
        if (distance < nearestDistance) {
            nearest = &area;
            nearestDistance = distance;
        }
    }
    if (!nearest) return corner;
    return {Within(frame.left, frame.right - frame.left, nearest->left, nearest->right),
            Within(frame.top, frame.bottom - frame.top, nearest->top, nearest->bottom)};
}

std::vector<RECT> CurrentWorkAreas() {
    std::vector<RECT> areas;
    if (!EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas))) {
        areas.clear();
    }
    return areas;
}

}  // namespace vantrel::app
