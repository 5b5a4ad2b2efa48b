#include "platform/Error.h"
#include "sendto/FolderResolution.h"
#include "sendto/SendToForm.h"
#include "sendto/Texts.h"

namespace vantrel {

void SendToForm::Form_Load() {
    auto folder = ResolveSendToFolder(platform_.EnvironmentEntries());
    std::vector<std::wstring> names;
    try {
        names = platform_.ListFiles(folder);
    } catch (const Error& e) {
        throw Error(texts::kFolderUnreadable + (L"\n" + folder + L"\n\n" + e.Message()),
                    e.SystemCode());
    }
    controls_.List1Fill(names);
    lj_ = std::move(folder);
}

}  // namespace vantrel
