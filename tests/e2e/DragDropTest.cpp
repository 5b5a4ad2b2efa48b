#include <gtest/gtest.h>

#include "app/Layout.h"
#include "app/ScopedOle.h"
#include "sendto/Texts.h"
#include "tests/e2e/DropDataObject.h"
#include "tests/e2e/OleDrag.h"
#include "tests/e2e/VantrelRun.h"
#include "tests/e2e/Wait.h"
#include "tests/e2e/WindowQueries.h"

namespace vantrel::testing {
namespace {

POINT CentreOnScreen(HWND window) {
    RECT place;
    GetWindowRect(window, &place);
    return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

// Files dragged from this program onto the running Vantrel with the real mouse.
class DragFromAnotherProgram : public VantrelRun {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(ole_.Result()));
        MakeSendToFolder();
        form_ = StartAndWaitForWindow();
        ASSERT_NE(form_, nullptr);
    }

    HWND Control(int id) const { return GetDlgItem(form_, id); }

    const std::vector<std::wstring> files_{AppData() + L"\\Tools\\editor.exe",
                                           AppData() + L"\\Tools\\other.exe"};
    HWND form_ = nullptr;

  private:
    app::ScopedOle ole_;
};

TEST_F(DragFromAnotherProgram, DropOnText1TakesTheFirstPath) {
    const DragOutcome outcome =
        DragTo(MakeDropDataObject(files_).Get(), CentreOnScreen(Control(app::kText1)));

    EXPECT_EQ(outcome.result, DRAGDROP_S_DROP);
    EXPECT_EQ(outcome.effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_TRUE(WaitUntil([&] { return Text(Control(app::kText1)) == files_[0]; }))
        << "Text1 did not take the path";
}

TEST_F(DragFromAnotherProgram, DropOnList1ChangesNothing) {
    const std::vector<std::wstring> before = ListItems(Control(app::kList1));
    const DragOutcome outcome =
        DragTo(MakeDropDataObject(files_).Get(), CentreOnScreen(Control(app::kList1)));

    EXPECT_EQ(outcome.effect, static_cast<DWORD>(DROPEFFECT_NONE)) << "List1 accepted the drop";
    Ask(form_, WM_NULL);
    EXPECT_EQ(Text(Control(app::kText1)), texts::kPlaceholder);
    EXPECT_EQ(ListItems(Control(app::kList1)), before);
}

}  // namespace
}  // namespace vantrel::testing
