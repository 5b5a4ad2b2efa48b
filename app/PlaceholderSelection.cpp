#include "app/PlaceholderSelection.h"

#include <commctrl.h>

#include "app/WindowText.h"
#include "platform/win32/SystemError.h"

namespace vantrel::app {
namespace {

constexpr UINT_PTR kSubclassId = 1;

// False also when the text cannot be read: nothing may leave the window procedure.
bool ShowsPlaceholder(HWND edit, const wchar_t* placeholder) noexcept {
    try {
        return WindowText(edit) == placeholder;
    } catch (...) {
        return false;
    }
}

LRESULT CALLBACK EditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR placeholder) {
    const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
    switch (message) {
        // A click sets the selection where it lands after the focus has arrived,
        // and a move with the button down changes it again: select once it is up.
        case WM_SETFOCUS:
        case WM_LBUTTONUP:
            if (GetFocus() == edit &&
                ShowsPlaceholder(edit, reinterpret_cast<const wchar_t*>(placeholder))) {
                SendMessageW(edit, EM_SETSEL, 0, -1);
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(edit, EditProcedure, kSubclassId);
            break;
    }
    return result;
}

}  // namespace

void SelectPlaceholderWhenEntered(HWND edit, const wchar_t* placeholder) {
    if (!SetWindowSubclass(edit, EditProcedure, kSubclassId,
                           reinterpret_cast<DWORD_PTR>(placeholder))) {
        win32::ThrowSystemError(ERROR_NOT_ENOUGH_MEMORY);
    }
}

}  // namespace vantrel::app
