#pragma once

#include <windows.h>

namespace vantrel::app {

// While `edit` shows `placeholder`, the whole text is selected whenever the edit
// takes the focus or is clicked, so that typing replaces it. `placeholder` must
// outlive the edit.
void SelectPlaceholderWhenEntered(HWND edit, const wchar_t* placeholder);

}  // namespace vantrel::app
