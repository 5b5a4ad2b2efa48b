#pragma once

#include <windows.h>

#include <string>

namespace vantrel::win32 {

// The system's own description of an error code (Win32 or HRESULT), one line.
std::wstring SystemErrorText(DWORD code);

[[noreturn]] void ThrowSystemError(DWORD code);
[[noreturn]] void ThrowLastError();
void ThrowIfFailed(HRESULT result);

}  // namespace vantrel::win32
