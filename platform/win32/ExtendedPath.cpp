#include "platform/win32/ExtendedPath.h"

#include <windows.h>

#include "platform/win32/SystemError.h"

namespace vantrel::win32 {
namespace {

std::wstring FullPath(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) ThrowLastError();
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
}

}  // namespace

std::wstring ExtendedPath(const std::wstring& path) {
    constexpr std::wstring_view kPrefix = L"\\\\?\\";
    if (path.starts_with(kPrefix)) return path;

    const auto slash = path.find_last_of(L"\\/");
    const std::wstring last = slash == std::wstring::npos ? path : path.substr(slash + 1);
    std::wstring full =
        (slash == std::wstring::npos || last.empty() || last == L"." || last == L"..")
            ? FullPath(path)
            : FullPath(path.substr(0, slash + 1)) + last;
    // A drive-relative parent ("C:") resolves without its separator.
    if (slash != std::wstring::npos && !last.empty() && full.size() > last.size()) {
        const auto joint = full.size() - last.size() - 1;
        if (full[joint] != L'\\') full.insert(joint + 1, 1, L'\\');
    }
    if (full.starts_with(L"\\\\")) return std::wstring(kPrefix) + L"UNC" + full.substr(1);
    return std::wstring(kPrefix) + full;
}

}  // namespace vantrel::win32
