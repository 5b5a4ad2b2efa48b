#pragma once

#include <memory>
#include <string>

#include "app/Form1.h"
#include "app/ScopedInitialization.h"
#include "bench/window/SendToFiles.h"
#include "platform/win32/Win32Platform.h"

namespace vantrel::bench {

// Vantrel's Form1 in this process on the real platform, loaded and shown over
// `files` (APPDATA is set in this process for it).
class InProcessForm {
  public:
    explicit InProcessForm(const SendToFiles& files);

    // Lists the Send To folder only, as the fill below does first.
    double TimeListing();
    // Lists the Send To folder and fills List1 with Vantrel's own code.
    double TimeListFill();
    // The reload cycle: a new window loaded and shown in place of the old one.
    double TimeReload();

  private:
    void RequireFilled() const;

    app::ScopedCom com_;  // as wWinMain starts it: Form1 starts OLE after its first paint
    win32::Win32Platform platform_;
    std::unique_ptr<app::Form1> form_;
    std::wstring folder_;
    int count_;
};

}  // namespace vantrel::bench
