#include <gtest/gtest.h>

#include "platform/win32/Win32Platform.h"
#include "sendto/SendToForm.h"
#include "sendto/Texts.h"
#include "tests/fakes/FakeFormControls.h"
#include "tests/windows/RecycleBin.h"
#include "tests/windows/ScopedCom.h"
#include "tests/windows/ShellLink.h"
#include "tests/windows/TempFolder.h"

namespace vantrel {
namespace {

using Texts = std::vector<std::wstring>;

// The real Windows platform, with message boxes recorded instead of shown.
class RecordingPlatform final : public Platform {
  public:
    Texts messages;

    std::vector<std::wstring> EnvironmentEntries() const override {
        return real_.EnvironmentEntries();
    }
    std::vector<std::wstring> ListFiles(const std::wstring& folder) const override {
        return real_.ListFiles(folder);
    }
    bool Exists(const std::wstring& path) const override { return real_.Exists(path); }
    DeleteOutcome RecycleFile(const std::wstring& path) override { return real_.RecycleFile(path); }
    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }
    void StartExplorer(const std::wstring&) override { ADD_FAILURE() << "started a program"; }
    std::unique_ptr<AutomationObject> CreateObject(const std::wstring& progId) override {
        return real_.CreateObject(progId);
    }

  private:
    win32::Win32Platform real_{texts::kTitle};
};

// A Send To folder below a temporary APPDATA, loaded as at start-up.
class Win32SendToForm : public ::testing::Test {
  protected:
    Win32SendToForm() {
        sendTo = root.AddFolder(L"Microsoft\\Windows\\SendTo");
        if (!SetEnvironmentVariableW(L"APPDATA", root.path().c_str())) {
            throw std::runtime_error("SetEnvironmentVariableW failed");
        }
        form.Form_Load();
        controls.onReload = [this] { form.Form_Load(); };
    }

    void Add(const std::wstring& text) {
        controls.text1 = text;
        form.Command1_Click();
    }

    testing::ScopedCom com;
    testing::TempFolder root;
    std::wstring sendTo;
    RecordingPlatform platform;
    testing::FakeFormControls controls;
    SendToForm form{platform, controls};
};

TEST_F(Win32SendToForm, AddsNumberedShortcutsThatPointAtTheDroppedItem) {
    const std::wstring target = root.AddFile(L"Tools\\editor.exe");
    ASSERT_EQ(form.lj(), sendTo);

    Add(L"\"" + target + L"\"");
    Add(L"  " + target + L" ");

    EXPECT_EQ(platform.messages, (Texts{texts::kCreated, texts::kCreated}));
    EXPECT_EQ(controls.list1, (Texts{L"editor (2).lnk", L"editor.lnk"}));
    EXPECT_EQ(testing::ShortcutTarget(sendTo + L"\\editor.lnk"), target);
    EXPECT_EQ(testing::ShortcutTarget(sendTo + L"\\editor (2).lnk"), target);
}

TEST_F(Win32SendToForm, AddsAFolderAndADotFile) {
    const std::wstring photos = root.AddFolder(L"Data\\Photos");
    const std::wstring dotFile = root.AddFile(L"repo\\.gitignore");

    Add(photos);
    Add(dotFile);

    EXPECT_EQ(platform.messages, (Texts{texts::kCreated, texts::kCreated}));
    EXPECT_EQ(controls.list1, (Texts{L".gitignore.lnk", L"Photos.lnk"}));
    EXPECT_EQ(testing::ShortcutTarget(sendTo + L"\\Photos.lnk"), photos);
}

TEST_F(Win32SendToForm, RefusesAMissingItemAndKeepsTheFolderEmpty) {
    Add(root.path() + L"\\Tools\\missing.exe");
    Add(L"");
    EXPECT_EQ(platform.messages, (Texts{texts::kEnterValidPath, texts::kEnterValidPath}));
    EXPECT_TRUE(platform.ListFiles(sendTo).empty());
    EXPECT_EQ(controls.reloads, 0);
}

TEST_F(Win32SendToForm, DeletesTheSelectedShortcut) {
    const std::wstring target = root.AddFile(L"Tools\\editor.exe");
    Add(target);
    ASSERT_EQ(controls.list1, Texts{L"editor.lnk"});

    controls.listIndex = 0;
    form.Command2_Click();

    EXPECT_EQ(platform.messages, (Texts{texts::kCreated, texts::kDeleted}));
    EXPECT_TRUE(controls.list1.empty());
    EXPECT_TRUE(platform.Exists(target));
    testing::ExpectRecycledThenErase(sendTo + L"\\editor.lnk");
}

}  // namespace
}  // namespace vantrel
