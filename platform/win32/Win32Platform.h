#pragma once

#include <string>

#include "platform/Platform.h"

namespace vantrel::win32 {

// The Windows implementation of the platform operations.
class Win32Platform final : public Platform {
  public:
    // `title` captions every message box.
    explicit Win32Platform(std::wstring title) : title_(std::move(title)) {}

    std::vector<std::wstring> EnvironmentEntries() const override;
    std::vector<std::wstring> ListFiles(const std::wstring& folder) const override;
    bool Exists(const std::wstring& path) const override;
    void RecycleFile(const std::wstring& path) override;
    void ShowMessage(const std::wstring& text) override;
    void StartExplorer(const std::wstring& argument) override;
    std::unique_ptr<AutomationObject> CreateObject(const std::wstring& progId) override;

  private:
    std::wstring title_;
};

}  // namespace vantrel::win32
