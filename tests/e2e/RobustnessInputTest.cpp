#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "app/Layout.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/e2e/FolderSnapshot.h"
#include "tests/e2e/FormActions.h"
#include "tests/e2e/VantrelRun.h"
#include "tests/e2e/WindowQueries.h"
#include "tests/windows/ScopedCom.h"
#include "tests/windows/ShellLink.h"

namespace vantrel::testing {
namespace {

// Where the texts of a case point.
struct Places {
    std::wstring program;  // an existing file outside the Send To folder
    std::wstring sendTo;
};

struct InputCase {
    const char* name;
    std::function<std::wstring(const Places&)> text;
    std::wstring message;
    std::wstring created = {};  // the one new file, when any
    std::function<std::wstring(const Places&)> target = {};
};

void PrintTo(const InputCase& value, std::ostream* out) {
    *out << value.name;
}

// The current folder for the life of the object; the program started meanwhile inherits it.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::wstring& folder) {
        previous_.resize(GetCurrentDirectoryW(0, nullptr));
        previous_.resize(
            GetCurrentDirectoryW(static_cast<DWORD>(previous_.size()), previous_.data()));
        if (!SetCurrentDirectoryW(folder.c_str())) ADD_FAILURE() << "SetCurrentDirectoryW failed";
    }
    ~CurrentFolder() { SetCurrentDirectoryW(previous_.c_str()); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

  private:
    std::wstring previous_;
};

class InputTest : public VantrelRun, public ::testing::WithParamInterface<InputCase> {
  protected:
    Places MakePlaces() {
        AddEntry(L"zz.lnk");  // lists after every shortcut the cases make
        return {AddAppDataFile(L"Tools\\editor.exe"), SendToFolder()};
    }
};

// A refused text leaves the window as it was; an accepted one adds exactly one file.
TEST_P(InputTest, AddsOneShortcutOrRefusesWithoutChange) {
    const InputCase& input = GetParam();
    const Places places = MakePlaces();
    // So the relative text names a file that exists from where the program runs.
    const CurrentFolder inAppData(AppData());
    const std::wstring text = input.text(places);
    const FolderSnapshot before = TakeSnapshot(places.sendTo);
    const HWND window = StartAndWaitForWindow();
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(Add(Process(), text), input.message);
    const std::set<std::wstring> changed = ChangedNames(before, TakeSnapshot(places.sendTo));
    if (input.created.empty()) {
        EXPECT_TRUE(changed.empty());
        EXPECT_EQ(Process().FindMainWindow(), window) << "rebuilt after a refusal";
        EXPECT_EQ(Text(GetDlgItem(window, app::kText1)), text);
        return;
    }
    EXPECT_EQ(changed, std::set<std::wstring>{input.created});
    const ScopedCom com;
    EXPECT_EQ(ShortcutTarget(places.sendTo + L"\\" + input.created), input.target(places));
    const HWND after = WaitForNewMainWindow(Process(), window);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(ListItems(GetDlgItem(after, app::kList1)),
              (std::vector<std::wstring>{input.created, L"zz.lnk"}));
}

std::wstring Fixed(const wchar_t* text) {
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, InputTest,
    ::testing::Values(
        InputCase{"Placeholder", [](const Places&) { return Fixed(texts::kPlaceholder); },
                  texts::kEnterValidPath},
        InputCase{"Empty", [](const Places&) { return Fixed(L""); }, texts::kEnterValidPath},
        InputCase{"ThirtyTwoThousandCharacters",
                  [](const Places&) { return L"C:\\" + std::wstring(31997, L'a'); },
                  texts::kEnterValidPath},
        InputCase{"Relative", [](const Places&) { return Fixed(L"Tools\\editor.exe"); },
                  texts::kEnterValidPath},
        InputCase{"UncThatDoesNotExist",
                  [](const Places&) { return Fixed(L"\\\\vantrel-nowhere.invalid\\share\\x"); },
                  texts::kEnterValidPath},
        InputCase{"InvalidFileNameCharacters", [](const Places&) { return Fixed(L"C:\\a|b"); },
                  texts::kEnterValidPath},
        InputCase{"Quoted", [](const Places& at) { return L"\"" + at.program + L"\""; },
                  texts::kCreated, L"editor.lnk", [](const Places& at) { return at.program; }},
        InputCase{"DriveRoot", [](const Places&) { return Fixed(L"C:\\"); }, texts::kCreated,
                  L"C.lnk", [](const Places&) { return Fixed(L"C:\\"); }},
        // Allowed: the folder itself is a valid target, as any folder is.
        InputCase{"TheSendToFolderItself", [](const Places& at) { return at.sendTo; },
                  texts::kCreated, L"SendTo.lnk", [](const Places& at) { return at.sendTo; }}),
    CaseName);

// A program to link to, and the window started on a folder with one entry.
class StartedWithProgram : public VantrelRun {
  protected:
    void SetUp() override {
        AddEntry(L"old.lnk");
        program_ = AddAppDataFile(L"Tools\\editor.exe");
        before_ = TakeSnapshot(SendToFolder());
        window_ = StartAndWaitForWindow();
        ASSERT_NE(window_, nullptr);
    }
    std::set<std::wstring> Changed() const {
        return ChangedNames(before_, TakeSnapshot(SendToFolder()));
    }

    std::wstring program_;
    HWND window_ = nullptr;

  private:
    FolderSnapshot before_;
};

using RepeatedAddTest = StartedWithProgram;

TEST_F(RepeatedAddTest, SecondAddOfTheSamePathGetsTheNextFreeName) {
    EXPECT_EQ(Add(Process(), program_), texts::kCreated);
    const HWND second = WaitForNewMainWindow(Process(), window_);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Add(Process(), program_), texts::kCreated);
    ASSERT_NE(WaitForNewMainWindow(Process(), second), nullptr);

    EXPECT_EQ(Changed(), (std::set<std::wstring>{L"editor.lnk", L"editor (2).lnk"}));
    const ScopedCom com;
    EXPECT_EQ(ShortcutTarget(SendToFolder() + L"\\editor.lnk"), program_);
    EXPECT_EQ(ShortcutTarget(SendToFolder() + L"\\editor (2).lnk"), program_);
}

struct ModalCase {
    const char* name;
    int firstButton;  // opens the box
    const wchar_t* box;
    int laterButton;  // pressed while the box is open
    std::set<std::wstring> changed;
};

void PrintTo(const ModalCase& value, std::ostream* out) {
    *out << value.name;
}

class ModalBoxTest : public StartedWithProgram, public ::testing::WithParamInterface<ModalCase> {
  protected:
    // Posted after the click, so once List1 answers it the click has been handled
    // (posted messages are taken in order), even by a box's own loop.
    void WaitForPostedClick(HWND form) {
        const HWND list = GetDlgItem(form, app::kList1);
        ASSERT_TRUE(PostMessageW(list, LB_SETCURSEL, 0, 0));
        ASSERT_TRUE(WaitUntil([&] { return ListSelection(list) == 0; }));
    }
};

TEST_P(ModalBoxTest, AClickWhileTheBoxIsOpenDoesNothing) {
    const ModalCase& modal = GetParam();
    SetText1(window_, program_);
    PostClick(window_, modal.firstButton);
    const HWND box = Process().WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), modal.box);

    PostClick(window_, modal.laterButton);
    WaitForPostedClick(window_);
    EXPECT_EQ(Process().MessageBoxes(), std::vector<HWND>{box}) << "the click opened a box";

    DismissMessageBox(box);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    const HWND form = modal.changed.empty() ? window_ : WaitForNewMainWindow(Process(), window_);
    ASSERT_NE(form, nullptr);
    WaitForPostedClick(form);
    EXPECT_TRUE(Process().MessageBoxes().empty()) << "the click was kept for later";
    EXPECT_EQ(Changed(), modal.changed);
}

INSTANTIATE_TEST_SUITE_P(Boxes, ModalBoxTest,
                         ::testing::Values(ModalCase{"AddWhileCreatedIsShown",
                                                     app::kCommand1,
                                                     texts::kCreated,
                                                     app::kCommand1,
                                                     {L"editor.lnk"}},
                                           ModalCase{"DeleteWhileCreatedIsShown",
                                                     app::kCommand1,
                                                     texts::kCreated,
                                                     app::kCommand2,
                                                     {L"editor.lnk"}},
                                           ModalCase{"AddWhileSelectFirstIsShown",
                                                     app::kCommand2,
                                                     texts::kSelectFirst,
                                                     app::kCommand1,
                                                     {}}),
                         CaseName);

}  // namespace
}  // namespace vantrel::testing
