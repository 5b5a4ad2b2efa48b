#pragma once

#include <windows.h>

#include <functional>

namespace vantrel::app {

// What DpiForWindow asks the system, each looked up at run time; tests hand in their own.
struct DpiLookups {
    std::function<UINT(HWND)> window;         // GetDpiForWindow; empty before Windows 10 1607
    std::function<HMONITOR(HWND)> monitorOf;  // the monitor a window is on
    std::function<UINT(HMONITOR)> monitor;    // a monitor's effective DPI; 0 when unknown
    std::function<UINT()> screen;             // the system DPI
};
const DpiLookups& SystemDpiLookups();

// The DPI a window is shown at: its own, else its monitor's (Windows 8.1 to 10 1511), else
// the system DPI.
UINT DpiForWindow(HWND window, const DpiLookups& lookups = SystemDpiLookups());

// The DPI of windows on `monitor`; the system DPI where Windows has no per-monitor DPI.
UINT DpiForMonitor(HMONITOR monitor);

// The outer size of a window whose client area is `client` pixels, at `dpi`.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD extendedStyle, UINT dpi);

}  // namespace vantrel::app
