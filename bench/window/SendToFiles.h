#pragma once

#include <string>

#include "tests/windows/TempFolder.h"

namespace vantrel::bench {

// A fresh APPDATA folder whose Send To folder holds `count` empty shortcut files.
class SendToFiles {
  public:
    explicit SendToFiles(int count);

    const std::wstring& AppData() const { return appData_.path(); }
    std::wstring Folder() const;
    int Count() const { return count_; }

  private:
    testing::TempFolder appData_;
    int count_;
};

}  // namespace vantrel::bench
