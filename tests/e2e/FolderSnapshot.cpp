#include "tests/e2e/FolderSnapshot.h"

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

}  // namespace vantrel::testing
