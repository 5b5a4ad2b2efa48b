#include "sendto/SendToForm.h"

namespace vantrel {

void SendToForm::Text1_OLEDragDrop(const DropData& data) {
    if (data.GetFormat(DropData::kFileListFormat)) controls_.SetText1Text(data.Files(1));
}

}  // namespace vantrel
