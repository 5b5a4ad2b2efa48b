#include <windows.h>

#include <algorithm>

#include "platform/AsciiCase.h"
#include "platform/win32/ExtendedPath.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"

namespace vantrel::win32 {
namespace {

constexpr DWORD kUnlisted =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Ordinal with case ignored, as CompareStringOrdinal has it: negative, zero or
// positive. While both names are ASCII that is a to z read as A to Z, decided here,
// so a folder of thousands sorts without a system call per pair.
int CompareFolded(const std::wstring& a, const std::wstring& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] >= 0x80 || b[i] >= 0x80) {
            const int order = CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                                   static_cast<int>(b.size()), TRUE);
            return order == CSTR_LESS_THAN ? -1 : order == CSTR_GREATER_THAN ? 1 : 0;
        }
        const wchar_t x = UpperAscii(a[i]);
        const wchar_t y = UpperAscii(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// Case-insensitive, as Explorer's menu reads; exact order breaks ties so the
// result does not depend on the file system's order.
bool ListsBefore(const std::wstring& a, const std::wstring& b) {
    const int folded = CompareFolded(a, b);
    return folded != 0 ? folded < 0 : a < b;
}

void RequireFolder(const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) ThrowLastError();
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) ThrowSystemError(ERROR_DIRECTORY);
}

}  // namespace

std::vector<std::wstring> Win32Platform::ListFiles(const std::wstring& folder) const {
    const std::wstring extended = ExtendedPath(folder);
    RequireFolder(extended);

    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE first =
        FindFirstFileExW((extended + L"\\*").c_str(), FindExInfoBasic, &found,
                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (first == INVALID_HANDLE_VALUE) {
        // A folder with no entries at all, such as an empty drive root.
        if (GetLastError() == ERROR_FILE_NOT_FOUND) return names;
        ThrowLastError();
    }
    const UniqueFindHandle search(first);
    do {
        if (!(found.dwFileAttributes & kUnlisted)) names.emplace_back(found.cFileName);
    } while (FindNextFileW(search.get(), &found));
    if (GetLastError() != ERROR_NO_MORE_FILES) ThrowLastError();

    std::sort(names.begin(), names.end(), ListsBefore);
    return names;
}

bool Win32Platform::Exists(const std::wstring& path) const {
    return GetFileAttributesW(ExtendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace vantrel::win32
