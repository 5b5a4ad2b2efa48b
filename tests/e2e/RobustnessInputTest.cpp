#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/Layout.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/e2e/FolderSnapshot.h"
#include "tests/e2e/FormActions.h"
#include "tests/e2e/VantrelRun.h"
#include "tests/e2e/WindowQueries.h"

namespace vantrel::testing {
namespace {

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
