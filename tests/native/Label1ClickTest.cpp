#include <gtest/gtest.h>

#include "platform/Error.h"
#include "sendto/SendToForm.h"
#include "sendto/Texts.h"
#include "tests/fakes/FakeFormControls.h"
#include "tests/fakes/FakePlatform.h"

namespace vantrel {
namespace {

using Texts = std::vector<std::wstring>;

class Label1Click : public ::testing::Test {
  protected:
    testing::FakePlatform platform;
    testing::FakeFormControls controls;
    SendToForm form{platform, controls};
};

TEST_F(Label1Click, FailureIsShownAndTheNextClickTriesAgain) {
    platform.explorerFailure = Error(L"系统找不到指定的文件。", 2);
    form.Label1_Click();
    // A code the system has no words for still reads as a code.
    platform.explorerFailure = Error(L"", 0x80004005);
    form.Label1_Click();
    EXPECT_EQ(platform.messages,
              (Texts{std::wstring(texts::kCannotOpenPage) +
                         L"系统找不到指定的文件。（错误代码 0x00000002）",
                     std::wstring(texts::kCannotOpenPage) + L"错误代码 0x80004005"}));

    platform.explorerFailure.reset();
    form.Label1_Click();
    EXPECT_EQ(platform.explorerArguments, Texts{L"http://pelgrin.example"});
}

}  // namespace
}  // namespace vantrel
