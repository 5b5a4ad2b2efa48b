#pragma once

#include <string>

namespace vantrel::win32 {

// The fully qualified form of a path, with one separator between its parts. The
// last component is kept exactly, trailing dots and spaces included, so every
// listed name addresses its own file. A "\\?\" path is returned as it is.
std::wstring FullPath(const std::wstring& path);

// The "\\?\" form of FullPath, so folders deeper than MAX_PATH work.
std::wstring ExtendedPath(const std::wstring& path);

}  // namespace vantrel::win32
