#pragma once

#include <windows.h>

namespace vantrel::app {

// OBJID_CLIENT is a LONG; the accessibility calls take object ids as a DWORD.
inline constexpr DWORD kClientObjectId = static_cast<DWORD>(OBJID_CLIENT);

// No label precedes Text1 or List1, and Label1 opens a page though it reads as text:
// screen readers are told their names and Label1's role through the system's dynamic
// annotation. A failure is silent: the window works the same without them.
void NameForScreenReaders(HWND text1, HWND list1, HWND label1);
// The annotation lives in window properties that the system does not free with the
// window: cleared before the controls go, so no reload cycle leaves any behind.
void ForgetScreenReaderNames(HWND text1, HWND list1, HWND label1);

}  // namespace vantrel::app
