#include <gtest/gtest.h>

#include <memory>

#include "app/Dpi.h"
#include "tests/CaseName.h"
#include "tests/e2e/Accessible.h"
#include "tests/e2e/VantrelProcess.h"
#include "tests/e2e/WindowDesign.h"
#include "tests/e2e/WindowQueries.h"
#include "tests/windows/ScopedCom.h"
#include "tests/windows/TempFolder.h"
#include "tests/windows/Wine.h"

namespace vantrel::testing {
namespace {

// One run of the program serves every case: the design is read, never changed.
class WindowDesignTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        appData_ = std::make_unique<TempFolder>();
        appData_->AddFile(L"Microsoft\\Windows\\SendTo\\记事本.lnk");
        process_ = std::make_unique<VantrelProcess>(
            ChildEnvironment::Current().Set(L"APPDATA", appData_->path()));
        window_ = process_->WaitForMainWindow();
    }
    static void TearDownTestSuite() {
        process_.reset();
        appData_.reset();
    }
    void SetUp() override { ASSERT_NE(window_, nullptr) << "the main window did not appear"; }

    static HWND Window() { return window_; }

    // The design's pixels where the window is shown at 96 DPI; at any other DPI (a
    // real Windows scaled by its user) the design's twips scaled for it.
    static Box Expected(const Box& twips, const Box& pixels96) {
        const UINT dpi = app::DpiForWindow(window_);
        return dpi == USER_DEFAULT_SCREEN_DPI ? pixels96 : ScaledTwips(twips, dpi);
    }

  private:
    static inline std::unique_ptr<TempFolder> appData_;
    static inline std::unique_ptr<VantrelProcess> process_;
    static inline HWND window_ = nullptr;
};

class ControlDesignTest : public WindowDesignTest,
                          public ::testing::WithParamInterface<ControlDesignCase> {};

TEST_P(ControlDesignTest, IsPlacedSizedAndCaptionedAsDesigned) {
    const ControlDesignCase& design = GetParam();
    const HWND control = GetDlgItem(Window(), design.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetParent(control), Window());
    EXPECT_EQ(CompareStringOrdinal(ClassName(control).c_str(), -1, design.className, -1, TRUE),
              CSTR_EQUAL)
        << "class " << ::testing::PrintToString(ClassName(control));
    EXPECT_EQ(BoxOf(RectInParent(control)), Expected(design.twips, design.pixels96));
    if (design.id != app::kList1) {
        EXPECT_EQ(Text(control), design.text);
    }
    EXPECT_TRUE(IsWindowVisible(control));
    EXPECT_TRUE(IsWindowEnabled(control));
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlDesignTest, ::testing::ValuesIn(DesignedControls()),
                         CaseName);

struct StyleCase {
    const char* name;
    int id;  // 0 for the window itself
    DWORD required;
    DWORD forbidden;
};

void PrintTo(const StyleCase& value, std::ostream* out) {
    *out << value.name;
}

class StyleTest : public WindowDesignTest, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(StyleTest, HasTheStylesTheDesignAsksFor) {
    const StyleCase& expected = GetParam();
    const HWND window = expected.id ? GetDlgItem(Window(), expected.id) : Window();
    ASSERT_NE(window, nullptr);
    const DWORD style = Style(window);
    EXPECT_EQ(style & expected.required, expected.required) << std::hex << style;
    EXPECT_EQ(style & expected.forbidden, 0u) << std::hex << style;
}

INSTANTIATE_TEST_SUITE_P(
    Styles, StyleTest,
    ::testing::Values(
        StyleCase{"WindowMinimizableButNeitherResizableNorMaximizable", 0,
                  WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_THICKFRAME | WS_MAXIMIZEBOX},
        StyleCase{"Text1OneLineWithoutScrollBars", app::kText1, WS_TABSTOP,
                  ES_MULTILINE | WS_HSCROLL | WS_VSCROLL},
        // Enter must not press either button: both plain push buttons, not default ones.
        StyleCase{"Command1PlainPushButton", app::kCommand1, WS_TABSTOP, BS_TYPEMASK},
        StyleCase{"Command2PlainPushButton", app::kCommand2, WS_TABSTOP, BS_TYPEMASK},
        StyleCase{"List1SingleSelectionUnsorted", app::kList1, WS_TABSTOP,
                  LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL | LBS_NOSEL},
        StyleCase{"Label1ClickableWithoutBorderOrFocus", app::kLabel1, SS_NOTIFY,
                  WS_TABSTOP | WS_BORDER | SS_SUNKEN}),
    CaseName);

struct ScreenReaderCase {
    const char* name;
    int id;
    const wchar_t* said;  // the accessible name; none: the role is checked
    long role;
};

void PrintTo(const ScreenReaderCase& value, std::ostream* out) {
    *out << value.name;
}

class ScreenReaderTest : public WindowDesignTest,
                         public ::testing::WithParamInterface<ScreenReaderCase> {};

// No label precedes Text1 or List1, and Label1 opens a page: a screen reader learns
// that only from the names and role the program gives them.
TEST_P(ScreenReaderTest, HearsTheControlsNameOrRole) {
    // Wine's proxies answer, but without the annotations: its oleacc refuses them.
    if (RunningOnWine()) {
        GTEST_SKIP() << "Wine's oleacc does not implement dynamic annotation "
                        "(SetHwndPropStr and SetHwndProp return E_NOTIMPL)";
    }
    const ScreenReaderCase& c = GetParam();
    const ScopedCom com;
    // Named before the window is shown: a screen reader asks as soon as Text1 has the focus.
    const std::optional<Heard> heard = HeardOf(GetDlgItem(Window(), c.id));
    ASSERT_TRUE(heard);
    if (c.said) {
        EXPECT_EQ(heard->name, c.said);
    } else {
        EXPECT_EQ(heard->role, c.role);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ScreenReaderTest,
    ::testing::Values(ScreenReaderCase{"Text1Name", app::kText1,
                                       L"要添加的文件夹、程序或快捷方式的路径", 0},
                      ScreenReaderCase{"List1Name", app::kList1, L"“发送到”文件夹中的项目", 0},
                      ScreenReaderCase{"Label1IsALink", app::kLabel1, nullptr, ROLE_SYSTEM_LINK}),
    CaseName);

}  // namespace
}  // namespace vantrel::testing
