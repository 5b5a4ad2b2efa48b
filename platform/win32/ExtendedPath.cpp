#include "platform/win32/ExtendedPath.h"

#include <windows.h>

#include "platform/win32/GrowingBuffer.h"

namespace vantrel::win32 {
namespace {

std::wstring SystemFullPath(const std::wstring& path) {
    return CallWithGrowingBuffer([&path](wchar_t* buffer, std::size_t size) {
        return GetFullPathNameW(path.c_str(), static_cast<DWORD>(size), buffer, nullptr);
    });
}

}  // namespace

std::wstring FullPath(const std::wstring& path) {
    if (path.starts_with(kExtendedPrefix)) return path;

    const auto slash = path.find_last_of(L"\\/");
    const std::wstring last = slash == std::wstring::npos ? path : path.substr(slash + 1);
    std::wstring full =
        (slash == std::wstring::npos || last.empty() || last == L"." || last == L"..")
            ? SystemFullPath(path)
            : SystemFullPath(path.substr(0, slash + 1)) + last;
    // A drive-relative parent ("C:") resolves without its separator.
    if (slash != std::wstring::npos && !last.empty() && full.size() > last.size()) {
        const auto joint = full.size() - last.size() - 1;
        if (full[joint] != L'\\') full.insert(joint + 1, 1, L'\\');
    }
    return full;
}

std::wstring ExtendedPath(const std::wstring& path) {
    if (path.starts_with(kExtendedPrefix)) return path;
    const std::wstring full = FullPath(path);
    if (full.starts_with(L"\\\\")) return std::wstring(kExtendedPrefix) + L"UNC" + full.substr(1);
    return std::wstring(kExtendedPrefix) + full;
}

}  // namespace vantrel::win32
