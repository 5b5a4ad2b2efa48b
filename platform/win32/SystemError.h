#pragma once

#include <windows.h>

#include <string>

namespace vantrel::win32 {

// The system's own description of an error code (Win32 or HRESULT), one line;
// empty when it has none. The words around it and the code belong to the caller.
std::wstring SystemErrorText(DWORD code);

// Throw vantrel::Error with the system's description and the code.
[[noreturn]] void ThrowSystemError(DWORD code);
[[noreturn]] void ThrowLastError();
void ThrowIfFailed(HRESULT result);

}  // namespace vantrel::win32
