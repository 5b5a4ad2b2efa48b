#pragma once

#include <functional>
#include <string>

namespace vantrel {

// The path a user typed or dropped, without surrounding white space and without
// one pair of enclosing double quotes (Explorer's "Copy as path" form).
std::wstring TrimmedPath(const std::wstring& text);

// True for drive-absolute (C:\x) and UNC (\\server\share\x) paths.
bool IsAbsolutePath(const std::wstring& path);

// The shortcut's name without ".lnk": the file-system object's base name, or, when
// that is empty, the drive letter of a drive root or the whole last component.
std::wstring ShortcutBaseName(const std::wstring& target, const std::wstring& baseName);

// folder\base.lnk, or folder\base (2).lnk, (3)... whichever is first not taken.
std::wstring FreeShortcutPath(const std::wstring& folder, const std::wstring& base,
                              const std::function<bool(const std::wstring&)>& taken);

}  // namespace vantrel
