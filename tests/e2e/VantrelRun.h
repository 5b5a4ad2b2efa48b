#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
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
    // A file elsewhere below APPDATA, such as a program to make a shortcut to.
    std::wstring AddAppDataFile(const std::wstring& relative) { return appData_.AddFile(relative); }
    void MakeSendToFolder() { appData_.AddFolder(kSendToBelowAppData); }
    std::wstring AddSubfolder(const std::wstring& name) {
        return appData_.AddFolder(std::wstring(kSendToBelowAppData) + L"\\" + name);
    }

    // Starts the program with APPDATA set to `appData`, or without APPDATA for nullopt.
    VantrelProcess& StartWithAppData(std::optional<std::wstring> appData) {
        return Start(ChildEnvironment::Current().Set(L"APPDATA", std::move(appData)));
    }
    VantrelProcess& Start(const ChildEnvironment& environment, WORD showState = SW_SHOWDEFAULT,
                          const std::wstring& arguments = {},
                          const std::wstring& currentFolder = {}) {
        process_ = std::make_unique<VantrelProcess>(environment, VantrelExe(), kVantrelWindowClass,
                                                    showState, arguments, currentFolder);
        return *process_;
    }
    VantrelProcess& Start() { return StartWithAppData(AppData()); }

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
