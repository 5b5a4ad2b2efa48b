#pragma once

#include <string>
#include <string_view>

namespace vantrel::win32 {

// What starts an extended path: the system takes the rest as it is, past MAX_PATH.
inline constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";

// The fully qualified form of a path, with one separator between its parts. The
// last component is kept exactly, trailing dots and spaces included, so every
// listed name addresses its own file. A "\\?\" path is returned as it is.
std::wstring FullPath(const std::wstring& path);

// The "\\?\" form of FullPath, so folders deeper than MAX_PATH work.
std::wstring ExtendedPath(const std::wstring& path);

}  // namespace vantrel::win32
