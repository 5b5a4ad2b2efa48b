#pragma once

#include <map>
#include <string>

namespace vantrel::testing {

// The files of a folder (not its subfolders), name to bytes: two snapshots compare
// equal only when no file was added, removed or changed.
using FolderContents = std::map<std::wstring, std::string>;
FolderContents ContentsOf(const std::wstring& folder);

// The bytes of one file; throws when it cannot be read.
std::string FileBytes(const std::wstring& path);

bool PathExists(const std::wstring& path);

}  // namespace vantrel::testing
