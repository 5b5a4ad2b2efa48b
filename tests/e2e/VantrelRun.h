#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/e2e/VantrelProcess.h"
#include "tests/windows/TempFolder.h"

namespace vantrel::testing {

// One run of the real program with a fresh APPDATA folder of its own.
class VantrelRun : public ::testing::Test {
  protected:
    static constexpr wchar_t kSendToBelowAppData[] = L"Microsoft\\Windows\\SendTo";

    std::wstring SendToFolder() const { return appData_.path() + L"\\" + kSendToBelowAppData; }
    const std::wstring& AppData() const { return appData_.path(); }

    // A file in the Send To folder (the folder is made with the first one).
    std::wstring AddEntry(const std::wstring& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL,
                          const std::string& content = {}) {
        return appData_.AddFile(std::wstring(kSendToBelowAppData) + L"\\" + name, attributes,
                                content);
    }
    void MakeSendToFolder() { appData_.AddFolder(kSendToBelowAppData); }
    std::wstring AddSubfolder(const std::wstring& name) {
        return appData_.AddFolder(std::wstring(kSendToBelowAppData) + L"\\" + name);
    }

    // Starts the program with APPDATA set to this run's folder; `showState`, `arguments` and
    // `currentFolder` as VantrelProcess takes them.
    VantrelProcess& Start(WORD showState = SW_SHOWDEFAULT, const std::wstring& arguments = {},
                          const std::wstring& currentFolder = {}) {
        process_ = std::make_unique<VantrelProcess>(
            ChildEnvironment::Current().Set(L"APPDATA", AppData()), VantrelExe(),
            kVantrelWindowClass, showState, arguments, currentFolder);
        return *process_;
    }

    // Starts the program on this run's folder and waits for its window.
    HWND StartAndWaitForWindow() {
        const HWND window = Start().WaitForMainWindow();
        if (!window) ADD_FAILURE() << "the main window did not appear";
        return window;
    }

    VantrelProcess& Process() { return *process_; }
    // The APPDATA folder, for items outside the Send To folder.
    TempFolder& AppDataFolder() { return appData_; }

  private:
    TempFolder appData_;
    std::unique_ptr<VantrelProcess> process_;
};

}  // namespace vantrel::testing
