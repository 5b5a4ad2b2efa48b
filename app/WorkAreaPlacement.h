#pragma once

#include <windows.h>

#include <functional>
#include <span>
#include <vector>

namespace vantrel::app {

// A monitor as placing a window sees it: the whole of it, its work area and its DPI
// (0 where it is every window's, on a single monitor).
struct MonitorArea {
    RECT area;
    RECT work;
    UINT dpi;
};

// The monitors attached now; none when they cannot be read. Tests give their own.
using MonitorLookup = std::function<std::vector<MonitorArea>()>;
std::vector<MonitorArea> CurrentMonitors();

// Where a window of `frame` goes among the monitors' work areas. A corner that lies on one
// of them stays, so the caption is within reach wherever the rest of the window lies; one
// off every work area moves onto the nearest, as little as needed for the window to fit
// there, and never above or left of it on a screen too small.
POINT PlaceOnWorkAreas(const RECT& frame, std::span<const MonitorArea> monitors);

struct CentredFrame {
    RECT frame;
    UINT dpi;
};

// A new window, made at `createdAt` (on the monitor Windows chose for the program): centred
// on the work area of the monitor there or nearest to it, at that monitor's DPI, sized by
// `frameAt` for it. With no monitors known, it stays at `createdAt`; with no DPI known,
// it takes `fallbackDpi`, the window's own.
CentredFrame CentreOnMonitor(POINT createdAt, std::span<const MonitorArea> monitors,
                             UINT fallbackDpi, SIZE (*frameAt)(UINT dpi));

}  // namespace vantrel::app
