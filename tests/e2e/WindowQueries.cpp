#include "tests/e2e/WindowQueries.h"

#include <memory>
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

int PixelsOtherThan(HWND window, COLORREF colour) {
    const SIZE size = ClientSize(window);
    POINT origin{};
    if (!ClientToScreen(window, &origin)) throw std::runtime_error("ClientToScreen failed");
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    const std::unique_ptr<std::remove_pointer_t<HDC>, void (*)(HDC)> screen(
        GetDC(nullptr), [](HDC dc) { ReleaseDC(nullptr, dc); });
    const std::unique_ptr<std::remove_pointer_t<HDC>, BOOL (*)(HDC)> memory(
        CreateCompatibleDC(screen.get()), DeleteDC);
    void* bits = nullptr;
    const std::unique_ptr<std::remove_pointer_t<HBITMAP>, BOOL (*)(HGDIOBJ)> bitmap(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0), DeleteObject);
    if (!screen || !memory || !bitmap) throw std::runtime_error("no bitmap for the screen");
    const HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
    const BOOL copied =
        BitBlt(memory.get(), 0, 0, size.cx, size.cy, screen.get(), origin.x, origin.y, SRCCOPY);
    SelectObject(memory.get(), previous);
    if (!copied) throw std::runtime_error("BitBlt from the screen failed");

    // A DIB pixel is 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
    const DWORD wanted = (static_cast<DWORD>(GetRValue(colour)) << 16) |
                         (static_cast<DWORD>(GetGValue(colour)) << 8) | GetBValue(colour);
    const auto* pixels = static_cast<const DWORD*>(bits);
    int others = 0;
    for (LONG i = 0; i < size.cx * size.cy; ++i) {
        if ((pixels[i] & 0xFFFFFF) != wanted) ++others;
    }
    return others;
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
