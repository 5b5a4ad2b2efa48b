#pragma once

#include <windows.h>

namespace vantrel::app {

// Has Windows tell the program each monitor's DPI (WM_DPICHANGED) instead of
// stretching its bitmap. Before the first window is created.
void DeclarePerMonitorDpiAwareness();

// The DPI a window is shown at; the system DPI where Windows has no per-window DPI.
UINT DpiForWindow(HWND window);

// The outer size of a window whose client area is `client` pixels, at `dpi`.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD extendedStyle, UINT dpi);

}  // namespace vantrel::app
