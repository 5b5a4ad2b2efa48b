#include "tests/e2e/FolderSnapshot.h"

#include <stdexcept>

#include "platform/win32/UniqueHandle.h"
#include "tests/windows/TempFolder.h"

namespace vantrel::testing {
namespace {

ULONGLONG Join(DWORD high, DWORD low) {
    return (static_cast<ULONGLONG>(high) << 32) | low;
}

}  // namespace

FolderSnapshot TakeSnapshot(const std::wstring& folder) {
    FolderSnapshot snapshot;
    WIN32_FIND_DATAW found;
    const HANDLE first = FindFirstFileW((Extended(folder) + L"\\*").c_str(), &found);
    if (first == INVALID_HANDLE_VALUE) return snapshot;
    const win32::UniqueFindHandle search(first);
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        snapshot[name] = {
            Join(found.nFileSizeHigh, found.nFileSizeLow),
            Join(found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime),
            found.dwFileAttributes};
    } while (FindNextFileW(search.get(), &found));
    return snapshot;
}

std::set<std::wstring> ChangedNames(const FolderSnapshot& before, const FolderSnapshot& after) {
    std::set<std::wstring> changed;
    for (const auto& [name, state] : before) {
        const auto now = after.find(name);
        if (now == after.end() || now->second != state) changed.insert(name);
    }
    for (const auto& [name, state] : after) {
        if (!before.contains(name)) changed.insert(name);
    }
    return changed;
}

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

bool PathExists(const std::wstring& path) {
    return GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace vantrel::testing
