// The floor of the start-up benchmark: the least a Win32 program does to show a
// window with an empty list box.
#include <windows.h>

#include "bench/window/FloorWindow.h"

namespace {

LRESULT CALLBACK FloorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = FloorProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = vantrel::bench::kFloorWindowClass;
    if (!RegisterClassExW(&windowClass)) return 1;

    // The system destroys both windows when the program ends.
    const HWND window = CreateWindowExW(0, vantrel::bench::kFloorWindowClass, L"Floor",
                                        WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 822, 475,
                                        nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    const HWND list = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 24, 112, 769, 272,
        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(vantrel::bench::kFloorListId)),
        instance, nullptr);
    if (!list) return 1;
    ShowWindow(window, SW_SHOW);

    MSG message;
    BOOL received;
    while ((received = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (received == -1) return 1;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
