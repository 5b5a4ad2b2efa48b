#include "app/Dpi.h"

#include <exception>

#include "platform/win32/SystemLibrary.h"

namespace vantrel::app {
namespace {

// Per-window DPI functions arrived with Windows 10; look them up so the
// program still starts on older systems.
template <typename Function>
Function User32Function(const char* name) {
    return win32::LoadedFunction<Function>(L"user32.dll", name);
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetDpiForMonitorFunction = HRESULT WINAPI(HMONITOR, int, UINT*, UINT*);

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

// shcore.dll came with Windows 8.1; before it every monitor has the system's DPI.
GetDpiForMonitorFunction* ShcoreDpiForMonitor() {
    try {
        static const win32::SystemLibrary shcore(L"shcore.dll");
        return shcore.Get<GetDpiForMonitorFunction>("GetDpiForMonitor");
    } catch (const std::exception&) {
        return nullptr;
    }
}

UINT ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

UINT MonitorDpi(HMONITOR monitor) {
    static GetDpiForMonitorFunction* const getDpiForMonitor = ShcoreDpiForMonitor();
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (!getDpiForMonitor || FAILED(getDpiForMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY))) {
        return 0;
    }
    return dpiY;
}

DpiLookups MakeSystemDpiLookups() {
    DpiLookups lookups;
    if (const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow")) {
        lookups.window = getDpiForWindow;
    }
    lookups.monitorOf = [](HWND window) {
        return MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    };
    lookups.monitor = MonitorDpi;
    lookups.screen = ScreenDpi;
    return lookups;
}

}  // namespace

const DpiLookups& SystemDpiLookups() {
    static const DpiLookups lookups = MakeSystemDpiLookups();
    return lookups;
}

UINT DpiForWindow(HWND window, const DpiLookups& lookups) {
    if (lookups.window) {
        if (const UINT dpi = lookups.window(window)) return dpi;
    } else if (window) {
        // shcore is loaded only here, where Windows has no per-window DPI.
        if (const UINT dpi = lookups.monitor(lookups.monitorOf(window))) return dpi;
    }
    return lookups.screen();
}

UINT DpiForMonitor(HMONITOR monitor) {
    const UINT dpi = MonitorDpi(monitor);
    return dpi ? dpi : ScreenDpi();
}

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD extendedStyle, UINT dpi) {
    static const auto adjustForDpi =
        User32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, client.cx, client.cy};
    const BOOL adjusted = adjustForDpi ? adjustForDpi(&frame, style, FALSE, extendedStyle, dpi)
                                       : AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    if (!adjusted) return client;
    return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace vantrel::app
