#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>

#include "tests/windows/TempFolder.h"

namespace vantrel::testing {

// What a test can see of one file without opening it.
struct FileState {
    ULONGLONG size = 0;
    ULONGLONG lastWrite = 0;
    DWORD attributes = 0;
    bool operator==(const FileState&) const = default;
};

// The files directly in a folder by name; empty when the folder cannot be read.
using FolderSnapshot = std::map<std::wstring, FileState>;

FolderSnapshot TakeSnapshot(const std::wstring& folder);

// The names added, removed or changed between two snapshots.
std::set<std::wstring> ChangedNames(const FolderSnapshot& before, const FolderSnapshot& after);

}  // namespace vantrel::testing
