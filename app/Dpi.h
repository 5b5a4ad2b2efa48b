#pragma once

#include <windows.h>

namespace vantrel::app {

// The DPI a window is shown at; the system DPI where Windows has no per-window DPI.
UINT DpiForWindow(HWND window);

// The DPI of windows on `monitor`; the system DPI where Windows has no per-monitor DPI.
UINT DpiForMonitor(HMONITOR monitor);

// The outer size of a window whose client area is `client` pixels, at `dpi`.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD extendedStyle, UINT dpi);

}  // namespace vantrel::app
