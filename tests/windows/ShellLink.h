#pragma once

#include <string>

namespace vantrel::testing {

// The target of a saved shortcut file, read through the shell's own IShellLinkW,
// independently of the object that wrote it. COM must be initialized.
std::wstring ShortcutTarget(const std::wstring& shortcutPath);

}  // namespace vantrel::testing
