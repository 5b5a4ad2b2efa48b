#pragma once

#include <string>

#include "platform/Platform.h"
#include "sendto/DropData.h"
#include "sendto/FormControls.h"

namespace vantrel {

// The window's event handlers and its one piece of state, the Send To folder `lj`.
class SendToForm {
  public:
    SendToForm(Platform& platform, FormControls& controls)
        : platform_(platform), controls_(controls) {}

    // Resolves the Send To folder and lists its files into List1. On failure it
    // throws vantrel::Error and leaves `lj` and List1 as they were.
    void Form_Load();

    // Adds a shortcut to the path in Text1 to the Send To folder.
    void Command1_Click();
    // Moves the file selected in List1 to the Recycle Bin.
    void Command2_Click();
    // Takes the first path of a dropped file list into Text1.
    void Text1_OLEDragDrop(const DropData& data);
    // Opens the maker's web page.
    void Label1_Click();

    const std::wstring& lj() const { return lj_; }

  private:
    Platform& platform_;
    FormControls& controls_;
    std::wstring lj_;
};

}  // namespace vantrel
