#pragma once

#include <windows.h>

#include <string>

namespace vantrel::app {

// The text of a window of this thread, such as a control's.
std::wstring WindowText(HWND window);

}  // namespace vantrel::app
