#include "platform/win32/NativeSystemPath.h"

#include <windows.h>

#include <string_view>

#include "platform/win32/ExtendedPath.h"
#include "platform/win32/GrowingBuffer.h"
#include "platform/win32/SystemError.h"

namespace vantrel::win32 {
namespace {

bool SameWithoutCase(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool IsAtOrBelow(std::wstring_view path, std::wstring_view folder) {
    return path.size() >= folder.size() && SameWithoutCase(path.substr(0, folder.size()), folder) &&
           (path.size() == folder.size() || path[folder.size()] == L'\\');
}

}  // namespace

std::optional<std::wstring> NativeSystemPath(const std::wstring& path,
                                             const std::wstring& windowsFolder) {
    std::wstring full = FullPath(path);
    const std::size_t start = full.starts_with(kExtendedPrefix) ? kExtendedPrefix.size() : 0;
    const std::wstring_view local = std::wstring_view(full).substr(start);
    const std::wstring sysnative = windowsFolder + L"\\Sysnative";
    if (IsAtOrBelow(local, sysnative)) return std::nullopt;
    const std::wstring system32 = windowsFolder + L"\\System32";
    if (IsAtOrBelow(local, system32)) full.replace(start, system32.size(), sysnative);
    return full;
}

bool RunsUnderWow64() {
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64)) ThrowLastError();
    return wow64 != FALSE;
}

std::wstring SystemWindowsFolder() {
    return CallWithGrowingBuffer([](wchar_t* buffer, std::size_t size) {
        return GetSystemWindowsDirectoryW(buffer, static_cast<UINT>(size));
    });
}

}  // namespace vantrel::win32
