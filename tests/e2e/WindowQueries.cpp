#include "tests/e2e/WindowQueries.h"

#include <stdexcept>

namespace vantrel::testing {

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) {
        throw std::runtime_error("window " + std::to_string(message) +
                                 " query failed: " + std::to_string(GetLastError()));
    }
    return static_cast<LRESULT>(result);
}

RECT RectInParent(HWND window) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) throw std::runtime_error("GetWindowRect failed");
    const HWND parent = (Style(window) & WS_CHILD) ? GetParent(window) : nullptr;
    SetLastError(0);
    if (parent && !MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2) &&
        GetLastError() != 0) {
        throw std::runtime_error("MapWindowPoints failed");
    }
    return rect;
}

SIZE ClientSize(HWND window) {
    RECT rect{};
    if (!GetClientRect(window, &rect)) throw std::runtime_error("GetClientRect failed");
    return {rect.right, rect.bottom};
}

std::wstring ClassName(HWND window) {
    wchar_t name[256];
    const int length = GetClassNameW(window, name, 256);
    if (length == 0) throw std::runtime_error("GetClassNameW failed");
    return {name, static_cast<std::size_t>(length)};
}

std::wstring Text(HWND window) {
    std::wstring text(static_cast<std::size_t>(Ask(window, WM_GETTEXTLENGTH)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

DWORD Style(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
}

int ListCount(HWND list) {
    const LRESULT count = Ask(list, LB_GETCOUNT);
    if (count == LB_ERR) throw std::runtime_error("LB_GETCOUNT failed");
    return static_cast<int>(count);
}

std::vector<std::wstring> ListItems(HWND list) {
    const int count = ListCount(list);
    std::vector<std::wstring> items;
    // Room for the longest name, so one question per item does: long lists stay
    // quick across processes.
    std::wstring buffer(kLongestItem + 1, L'\0');
    for (int i = 0; i < count; ++i) {
        const LRESULT length =
            Ask(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.data()));
        if (length == LB_ERR) throw std::runtime_error("LB_GETTEXT failed");
        items.emplace_back(buffer.data(), static_cast<std::size_t>(length));
    }
    return items;
}

int ListSelection(HWND list) {
    return static_cast<int>(Ask(list, LB_GETCURSEL));
}

int PixelsOf(HWND window, COLORREF colour) {
    const SIZE size = ClientSize(window);
    POINT origin{};
    ClientToScreen(window, &origin);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    const BOOL copied =
        bitmap && BitBlt(memory, 0, 0, size.cx, size.cy, screen, origin.x, origin.y, SRCCOPY);
    int found = 0;
    // A DIB pixel is 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
    const DWORD wanted = RGB(GetBValue(colour), GetGValue(colour), GetRValue(colour));
    for (LONG i = 0; copied && i < size.cx * size.cy; ++i) {
        if ((static_cast<const DWORD*>(bits)[i] & 0xFFFFFF) == wanted) ++found;
    }
    SelectObject(memory, previous);
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied) throw std::runtime_error("the screen could not be read");
    return found;
}

LOGFONTW FontOf(HWND window) {
    const auto font = reinterpret_cast<HFONT>(Ask(window, WM_GETFONT));
    LOGFONTW described{};
    if (!font || GetObjectW(font, sizeof described, &described) != sizeof described) {
        throw std::runtime_error("the window has no font of its own");
    }
    return described;
}

}  // namespace vantrel::testing
