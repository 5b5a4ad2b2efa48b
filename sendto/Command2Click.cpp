#include "platform/Error.h"
#include "sendto/ErrorText.h"
#include "sendto/SendToForm.h"
#include "sendto/Texts.h"

namespace vantrel {

void SendToForm::Command2_Click() {
    const int index = controls_.List1ListIndex();
    if (index < 0) {
        platform_.ShowMessage(texts::kSelectFirst);
        return;
    }
    const std::wstring path = lj_ + L"\\" + controls_.List1Item(index);
    DeleteOutcome outcome = DeleteOutcome::Deleted;
    try {
        outcome = platform_.RecycleFile(path);
    } catch (const Error& e) {
        platform_.ShowMessage(texts::kDeleteFailed + ErrorText(e));
        // Gone behind the list's back: show the folder as it is now.
        if (!platform_.Exists(path)) controls_.Reload();
        return;
    }
    // The user has just answered the system's own question: nothing to add.
    if (outcome == DeleteOutcome::KeptByUser) return;
    // Outside the trap: a failed reload is not a failed delete.
    platform_.ShowMessage(texts::kDeleted);
    controls_.Reload();
}

}  // namespace vantrel
