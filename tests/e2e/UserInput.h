#pragma once

#include <windows.h>

#include <string>

namespace vantrel::testing {

// Input as a user gives it, through the system's input queue (SendInput), to the
// foreground window. Each call first brings `window`'s top-level window to the front.
void PressKey(HWND window, WORD virtualKey);
void TypeText(HWND window, const std::wstring& text);
// A left click at `point`, in `window`'s client coordinates.
void Click(HWND window, POINT point);
// Another program's window comes to the front, then `window`'s again, as with Alt+Tab.
void SwitchAwayAndBack(HWND window);

}  // namespace vantrel::testing
