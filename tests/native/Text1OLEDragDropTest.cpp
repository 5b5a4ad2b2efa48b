#include <gtest/gtest.h>

#include <stdexcept>

#include "sendto/SendToForm.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/fakes/FakeFormControls.h"
#include "tests/fakes/FakePlatform.h"

namespace vantrel {
namespace {

// A drop that answers only for the file-list format, with files counted from 1.
class FakeDropData final : public DropData {
  public:
    FakeDropData(bool fileList, std::vector<std::wstring> files)
        : fileList_(fileList), files_(std::move(files)) {}

    bool GetFormat(int format) const override { return fileList_ && format == kFileListFormat; }
    std::wstring Files(int index) const override {
        if (!fileList_ || index < 1 || index > static_cast<int>(files_.size())) {
            throw std::out_of_range("no such dropped file");
        }
        return files_[static_cast<std::size_t>(index - 1)];
    }

  private:
    bool fileList_;
    std::vector<std::wstring> files_;
};

struct DropCase {
    const char* name;
    // Listed by name, not as raw bytes.
    friend void PrintTo(const DropCase& c, std::ostream* os) { *os << c.name; }
    bool fileList;
    std::vector<std::wstring> files;
    std::wstring before;
    std::wstring after;
};

class Text1OLEDragDrop : public ::testing::TestWithParam<DropCase> {};

TEST_P(Text1OLEDragDrop, TakesTheFirstDroppedPath) {
    const auto& c = GetParam();
    testing::FakePlatform platform;
    testing::FakeFormControls controls;
    SendToForm form{platform, controls};
    controls.text1 = c.before;

    form.Text1_OLEDragDrop(FakeDropData(c.fileList, c.files));

    EXPECT_EQ(controls.text1, c.after);
    EXPECT_TRUE(platform.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Drop, Text1OLEDragDrop,
    ::testing::Values(DropCase{"ThreeFilesGiveTheFirst",
                               true,
                               {L"C:\\Tools\\editor.exe", L"C:\\Tools\\b.txt", L"C:\\c.lnk"},
                               texts::kPlaceholder,
                               L"C:\\Tools\\editor.exe"},
                      DropCase{"ReplacesTypedText",
                               true,
                               {L"D:\\Links\\Notes.lnk"},
                               L"C:\\old",
                               L"D:\\Links\\Notes.lnk"},
                      DropCase{"TextOnlyLeavesTypedText", false, {}, L"C:\\typed", L"C:\\typed"}),
    CaseName);

}  // namespace
}  // namespace vantrel
