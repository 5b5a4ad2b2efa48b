#pragma once

#include <optional>
#include <string>

namespace vantrel::win32 {

// `path` fully qualified, as 64-bit Windows and its programs (Explorer) see it when a
// 32-bit process under WOW64 names it: that process is shown SysWOW64 for the System32
// folder of `windowsFolder`, so a path below System32 is looked at through the Sysnative
// alias; a path below Sysnative names nothing (nullopt), the alias being that process's
// own. Folder names match without case, as Windows compares paths.
std::optional<std::wstring> NativeSystemPath(const std::wstring& path,
                                             const std::wstring& windowsFolder);

// True for a 32-bit process on 64-bit Windows.
bool RunsUnderWow64();

// The system's Windows folder, shared by all users.
std::wstring SystemWindowsFolder();

}  // namespace vantrel::win32
