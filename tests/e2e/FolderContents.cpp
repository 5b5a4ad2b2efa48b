#include "tests/e2e/FolderContents.h"

#include <windows.h>

#include <stdexcept>

#include "platform/win32/UniqueHandle.h"
#include "tests/windows/TempFolder.h"

namespace vantrel::testing {
std::string FileBytes(const std::wstring& path) {
    const HANDLE opened = CreateFileW(Extended(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open a file: " + std::to_string(GetLastError()));
    const win32::UniqueKernelHandle file(opened);
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) {
        bytes.append(chunk, read);
    }
    return bytes;
}

FolderContents ContentsOf(const std::wstring& folder) {
    FolderContents contents;
    WIN32_FIND_DATAW found;
    const HANDLE first = FindFirstFileW(Extended(folder + L"\\*").c_str(), &found);
    if (first == INVALID_HANDLE_VALUE) return contents;
    const win32::UniqueFindHandle search(first);
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        contents[found.cFileName] = FileBytes(folder + L"\\" + found.cFileName);
    } while (FindNextFileW(search.get(), &found));
    return contents;
}

bool PathExists(const std::wstring& path) {
    return GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace vantrel::testing
