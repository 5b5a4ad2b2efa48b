#include "platform/Error.h"
#include "sendto/ErrorText.h"
#include "sendto/SendToForm.h"
#include "sendto/ShortcutNaming.h"
#include "sendto/Texts.h"

namespace vantrel {
namespace {

constexpr wchar_t kShellProgId[] = L"Wscript.shell";
constexpr wchar_t kFileSystemProgId[] = L"Scripting.FileSystemObject";

// The file-system object lives for this one call only.
std::wstring BaseNameOf(Platform& platform, const std::wstring& path) {
    const auto fileSystem = platform.CreateObject(kFileSystemProgId);
    return fileSystem->CallForText(L"GetBaseName", path);
}

void SaveShortcut(Platform& platform, const std::wstring& folder, const std::wstring& target) {
    const auto shell = platform.CreateObject(kShellProgId);
    const std::wstring base = ShortcutBaseName(target, BaseNameOf(platform, target));
    const std::wstring path = FreeShortcutPath(
        folder, base,
        [&platform](const std::wstring& candidate) { return platform.Exists(candidate); });
    const auto shortcut = shell->CallForObject(L"CreateShortcut", path);
    shortcut->PutText(L"TargetPath", target);
    shortcut->Call(L"Save");
}

}  // namespace

void SendToForm::Command1_Click() {
    // The raw text is compared first: the placeholder never reaches the platform.
    const std::wstring text = controls_.Text1Text();
    const std::wstring target = TrimmedPath(text);
    if (text == texts::kPlaceholder || !IsAbsolutePath(target) || !platform_.Exists(target)) {
        platform_.ShowMessage(texts::kEnterValidPath);
        controls_.Text1SetFocus();  // where the path is to be corrected
        return;
    }
    try {
        SaveShortcut(platform_, lj_, target);
    } catch (const Error& e) {
        platform_.ShowMessage(texts::kCreateFailed + ErrorText(e));
        return;
    }
    platform_.ShowMessage(texts::kCreated);
    controls_.Reload();
}

}  // namespace vantrel
