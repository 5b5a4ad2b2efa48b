#pragma once

#include <windows.h>

namespace vantrel::testing {

// Wine's ntdll exports its version; Windows' does not.
inline bool RunningOnWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace vantrel::testing
