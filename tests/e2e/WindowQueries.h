#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vantrel::testing {

// Reads of a window's state that work alike for this process's windows and for
// another process's. A window that does not answer within seconds throws.

// Sends a message and waits for its answer, for at most a few seconds.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// The window's rectangle in its parent's client coordinates (screen for a top-level window).
RECT RectInParent(HWND window);
SIZE ClientSize(HWND window);

std::wstring ClassName(HWND window);
std::wstring Text(HWND window);
DWORD Style(HWND window);

int ListCount(HWND list);
// The items of a list of file names: a listed name comes from WIN32_FIND_DATAW,
// so it is shorter than MAX_PATH.
inline constexpr std::size_t kLongestItem = MAX_PATH - 1;
std::vector<std::wstring> ListItems(HWND list);
// The selected item's index, or -1.
int ListSelection(HWND list);

// How many pixels of the window's client area, as the screen shows it now, are `colour`.
int PixelsOf(HWND window, COLORREF colour);

// A window of this process only: a font handle means nothing in another process.
LOGFONTW FontOf(HWND window);

}  // namespace vantrel::testing
