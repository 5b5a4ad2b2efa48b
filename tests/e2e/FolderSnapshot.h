#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>

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

// The bytes of one file; throws when it cannot be read.
std::string FileBytes(const std::wstring& path);

bool PathExists(const std::wstring& path);

}  // namespace vantrel::testing
