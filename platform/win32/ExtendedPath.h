#pragma once

#include <string>

namespace vantrel::win32 {

// The absolute "\\?\" form of a path, so folders deeper than MAX_PATH work.
// The last component is kept exactly, trailing dots and spaces included, so
// every listed name addresses its own file.
std::wstring ExtendedPath(const std::wstring& path);

}  // namespace vantrel::win32
