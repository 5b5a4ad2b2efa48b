#include <windows.h>

#include "platform/win32/ExtendedPath.h"
#include "platform/win32/ListingOrder.h"
#include "platform/win32/NativeSystemPath.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"

namespace vantrel::win32 {
namespace {

constexpr DWORD kUnlisted =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

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

    SortForListing(names);
    return names;
}

bool Win32Platform::Exists(const std::wstring& path) const {
    const auto found = [](const std::wstring& seen) {
        return GetFileAttributesW(ExtendedPath(seen).c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    static const bool wow64 = RunsUnderWow64();
    if (!wow64) return found(path);
    static const std::wstring windowsFolder = SystemWindowsFolder();
    const auto native = NativeSystemPath(path, windowsFolder);
    return native && found(*native);
}

}  // namespace vantrel::win32
