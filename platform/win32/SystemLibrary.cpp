#include "platform/win32/SystemLibrary.h"

#include <string>

#include "platform/win32/GrowingBuffer.h"
#include "platform/win32/SystemError.h"

namespace vantrel::win32 {
namespace {

std::wstring SystemFolder() {
    return CallWithGrowingBuffer([](wchar_t* buffer, std::size_t size) {
        return GetSystemDirectoryW(buffer, static_cast<UINT>(size));
    });
}

}  // namespace

// A full path, so neither the exe's folder nor the current one is searched, even
// on a Windows 7 without the LOAD_LIBRARY_SEARCH flags.
SystemLibrary::SystemLibrary(const wchar_t* name)
    : module_(LoadLibraryExW((SystemFolder() + L'\\' + name).c_str(), nullptr, 0)) {
    if (!module_) ThrowLastError();
}

FARPROC SystemLibrary::Procedure(const char* name) const {
    const FARPROC procedure = GetProcAddress(module_, name);
    if (!procedure) ThrowLastError();
    return procedure;
}

void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefault = LoadedFunction<SetDefaultDllDirectoriesFunction>(
        L"kernel32.dll", "SetDefaultDllDirectories");
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
}

}  // namespace vantrel::win32
