#include "platform/Error.h"
#include "sendto/ErrorText.h"
#include "sendto/SendToForm.h"
#include "sendto/Texts.h"

namespace vantrel {

void SendToForm::Label1_Click() {
    try {
        platform_.StartExplorer(texts::kMakerAddress);
    } catch (const Error& e) {
        platform_.ShowMessage(texts::kCannotOpenPage + ErrorText(e));
    }
}

}  // namespace vantrel
