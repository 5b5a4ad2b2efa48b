// The same-job floor of the start-up benchmark: the least program that shows Vantrel's
// window with its list. The same manifest (visual styles, per-monitor DPI awareness), OLE
// before the window, the same five controls with the same classes, styles and fonts made in
// their places, the APPDATA value, the folder listed into the list box with redraw off, the
// window shown at a fixed place, a dialog-style message loop. No centring, no DPI lookups,
// no screen-reader names, no sorting, no checks, no error handling, no drop target.
#include <windows.h>

#include <ole2.h>

#include <string>

#include "app/Layout.h"
#include "bench/window/FloorWindow.h"

namespace {

using vantrel::app::kControls;
using vantrel::app::TwipsToPixels;

LRESULT CALLBACK FloorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HFONT DesignFont(const vantrel::app::FontDesign& design, UINT dpi) {
    const LOGFONTW font = vantrel::app::DesignLogFont(design, dpi);
    return CreateFontIndirectW(&font);
}

void ListSendToFolder(HWND list) {
    std::wstring appData(32767, L'\0');
    appData.resize(
        GetEnvironmentVariableW(L"APPDATA", appData.data(), static_cast<DWORD>(appData.size())));
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    WIN32_FIND_DATAW found;
    const HANDLE search =
        FindFirstFileExW((appData + L"\\Microsoft\\Windows\\SendTo\\*").c_str(), FindExInfoBasic,
                         &found, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    if (FAILED(OleInitialize(nullptr))) return 1;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = FloorProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground =
        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INACTIVECAPTION + 1));
    windowClass.lpszClassName = vantrel::bench::kSameJobFloorWindowClass;
    if (!RegisterClassExW(&windowClass)) return 1;

    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const HWND window =
        CreateWindowExW(0, vantrel::bench::kSameJobFloorWindowClass, L"Floor", kStyle, 100, 100,
                        838, 514, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    const UINT dpi = USER_DEFAULT_SCREEN_DPI;
    // The fonts and windows live until the program ends.
    for (const auto& design : kControls) {
        const HWND control = CreateWindowExW(
            design.extendedStyle, design.className, design.text,
            WS_CHILD | WS_VISIBLE | design.style, TwipsToPixels(design.left, dpi),
            TwipsToPixels(design.top, dpi), TwipsToPixels(design.width, dpi),
            TwipsToPixels(design.height, dpi), window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance, nullptr);
        if (!control) return 1;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(DesignFont(design.font, dpi)),
                     FALSE);
    }
    ListSendToFolder(GetDlgItem(window, vantrel::app::kList1));
    ShowWindow(window, SW_SHOW);

    MSG message;
    BOOL received;
    while ((received = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (received == -1) return 1;
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    OleUninitialize();
    return static_cast<int>(message.wParam);
}
