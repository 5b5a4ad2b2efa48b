#pragma once

#include <windows.h>

namespace vantrel::win32 {

// SHFileOperationW answers some failures with the shell's old DE_* codes, which
// collide with unrelated Win32 codes; this gives the Win32 code to describe instead.
DWORD ShellOperationError(int result);

}  // namespace vantrel::win32
