#pragma once

#include <string>

namespace vantrel::testing {

// Wine's Recycle Bin is the freedesktop trash: $XDG_DATA_HOME/Trash/files, seen
// through drive Z:. Empty when XDG_DATA_HOME is not set.
std::wstring TrashFolder();

// A file name no earlier run left in the trash: `stem`, this process and the time.
std::wstring UniqueName(const std::wstring& stem, const std::wstring& extension);

}  // namespace vantrel::testing
