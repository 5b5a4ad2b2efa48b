#pragma once

#include <string>

#include "platform/Platform.h"
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

    const std::wstring& lj() const { return lj_; }

  private:
    Platform& platform_;
    FormControls& controls_;
    std::wstring lj_;
};

}  // namespace vantrel
