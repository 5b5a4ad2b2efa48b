#pragma once

#include <windows.h>

#include <string>

#include "app/FormWindow.h"

namespace vantrel::bench {

// The floor of the list fill: a bare FindFirstFileExW loop adding each file's
// name to a plain list box, in a hidden window of this process.
class BareListFill {
  public:
    BareListFill();

    // Fills the list box from `folder`; throws unless it ends with `expected` items.
    double Time(const std::wstring& folder, int expected);

  private:
    app::UniqueWindow window_;
    HWND list_ = nullptr;
};

}  // namespace vantrel::bench
