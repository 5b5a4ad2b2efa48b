#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ScopedInitialization.h"
#include "app/Text1DropTarget.h"
#include "sendto/SendToForm.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/e2e/DropDataObject.h"
#include "tests/fakes/FakeFormControls.h"
#include "tests/fakes/FakePlatform.h"

namespace vantrel::testing {
namespace {

// Text1's drop target wired to the drop handler, as Form1 wires it, over real
// OLE data objects.
class Text1Drop : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(ole_.Result()));
        controls_.text1 = texts::kPlaceholder;
        target_.Attach(new app::Text1DropTarget(
            [this](const app::DroppedFiles& files) { form_.Text1_OLEDragDrop(files); }));
    }

    // DragEnter, DragOver and Drop with `allowed`; the three answers.
    std::vector<DWORD> DragAndDrop(IDataObject* data, DWORD allowed) {
        std::vector<DWORD> answers(3, allowed);
        EXPECT_EQ(target_->DragEnter(data, MK_LBUTTON, {10, 10}, &answers[0]), S_OK);
        EXPECT_EQ(target_->DragOver(MK_LBUTTON, {12, 12}, &answers[1]), S_OK);
        EXPECT_EQ(target_->Drop(data, 0, {12, 12}, &answers[2]), S_OK);
        return answers;
    }

    app::ScopedOle ole_;
    FakePlatform platform_;
    FakeFormControls controls_;
    SendToForm form_{platform_, controls_};
    Microsoft::WRL::ComPtr<app::Text1DropTarget> target_;
};

// Of the files a file manager drops, Text1 takes the first, as a copy.
TEST_F(Text1Drop, ThreeFilesGiveTheFirst) {
    const auto data =
        MakeDropDataObject({L"C:\\Tools\\editor.exe", L"C:\\Tools\\b.txt", L"C:\\Data"});
    const DWORD all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(DragAndDrop(data.Get(), all), std::vector<DWORD>(3, DROPEFFECT_COPY));
    EXPECT_EQ(controls_.text1, L"C:\\Tools\\editor.exe");
}

struct EffectCase {
    const char* name;
    DWORD allowed;
    DWORD expected;
};

class Text1DropEffect : public Text1Drop, public ::testing::WithParamInterface<EffectCase> {};

TEST_P(Text1DropEffect, PrefersCopyThenLink) {
    const auto data = MakeDropDataObject({L"C:\\Tools\\editor.exe"});
    EXPECT_EQ(DragAndDrop(data.Get(), GetParam().allowed),
              std::vector<DWORD>(3, GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Drop, Text1DropEffect,
    // Everything allowed: the three files' case.
    ::testing::Values(EffectCase{"CopyOnly", DROPEFFECT_COPY, DROPEFFECT_COPY},
                      EffectCase{"MoveOrLink", DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_LINK},
                      EffectCase{"LinkOnly", DROPEFFECT_LINK, DROPEFFECT_LINK},
                      EffectCase{"MoveOnly", DROPEFFECT_MOVE, DROPEFFECT_NONE},
                      EffectCase{"NoneAllowed", DROPEFFECT_NONE, DROPEFFECT_NONE}),
    CaseName);

// Leaving the box forgets the files: a later drag of text is refused.
TEST_F(Text1Drop, DragLeaveForgetsTheFileList) {
    const auto files = MakeDropDataObject({L"C:\\a.exe"});
    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(target_->DragEnter(files.Get(), MK_LBUTTON, {1, 1}, &effect), S_OK);
    ASSERT_EQ(target_->DragLeave(), S_OK);
    effect = DROPEFFECT_COPY;
    ASSERT_EQ(target_->DragOver(MK_LBUTTON, {1, 1}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
}

}  // namespace
}  // namespace vantrel::testing
