#include <gtest/gtest.h>

#include <set>

#include "sendto/ShortcutNaming.h"
#include "tests/CaseName.h"

namespace vantrel {
namespace {

struct TrimCase {
    const char* name;
    // Listed by name, not as raw bytes.
    friend void PrintTo(const TrimCase& c, std::ostream* os) { *os << c.name; }
    std::wstring text;
    std::wstring expected;
};

class TrimsPath : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimsPath, OfWhiteSpaceAndOnePairOfQuotes) {
    EXPECT_EQ(TrimmedPath(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Text, TrimsPath,
    ::testing::Values(
        TrimCase{"PlainPathIsKept", L"C:\\Tools\\editor.exe", L"C:\\Tools\\editor.exe"},
        TrimCase{"Empty", L"", L""}, TrimCase{"MixedWhiteSpaceOnly", L" \t\r\n\u3000", L""},
        TrimCase{"SurroundingWhiteSpace", L" \tC:\\a b\\c.exe \r\n", L"C:\\a b\\c.exe"},
        TrimCase{"InnerSpacesAreKept", L"C:\\My  Tools\\ed it.exe", L"C:\\My  Tools\\ed it.exe"},
        TrimCase{"CopyAsPathQuotes", L"\"C:\\Program Files\\x.exe\"", L"C:\\Program Files\\x.exe"},
        TrimCase{"QuotesInsideWhiteSpace", L"  \"C:\\x.exe\"\n", L"C:\\x.exe"},
        TrimCase{"OnlyOnePairIsRemoved", L"\"\"C:\\x\"\"", L"\"C:\\x\""},
        TrimCase{"LoneOpeningQuoteIsKept", L"\"C:\\x", L"\"C:\\x"},
        TrimCase{"LoneClosingQuoteIsKept", L"C:\\x\"", L"C:\\x\""},
        TrimCase{"SingleQuoteCharacterIsKept", L"\"", L"\""},
        TrimCase{"EmptyQuotes", L"\"\"", L""}),
    CaseName);

struct AbsoluteCase {
    const char* name;
    // Listed by name, not as raw bytes.
    friend void PrintTo(const AbsoluteCase& c, std::ostream* os) { *os << c.name; }
    std::wstring path;
    bool absolute;
};

class ClassifiesPath : public ::testing::TestWithParam<AbsoluteCase> {};

TEST_P(ClassifiesPath, AsAbsoluteOnlyWithDriveOrServerAndShare) {
    EXPECT_EQ(IsAbsolutePath(GetParam().path), GetParam().absolute);
}

// Drive letters at both ends of the alphabet in both cases, and names of one letter.
INSTANTIATE_TEST_SUITE_P(
    Path, ClassifiesPath,
    ::testing::Values(AbsoluteCase{"DriveAbsolute", L"Z:\\Tools\\editor.exe", true},
                      AbsoluteCase{"LowerCaseDrive", L"z:\\x", true},
                      AbsoluteCase{"DriveRoot", L"A:\\", true},
                      AbsoluteCase{"ForwardSlash", L"a:/Tools", true},
                      AbsoluteCase{"Unc", L"\\\\server\\share\\tool.exe", true},
                      AbsoluteCase{"UncShareRootOfOneLetterNames", L"\\\\s\\d", true},
                      AbsoluteCase{"Empty", L"", false},
                      AbsoluteCase{"Relative", L"Tools\\editor.exe", false},
                      AbsoluteCase{"DotRelative", L".\\Tools\\editor.exe", false},
                      AbsoluteCase{"DriveRelative", L"C:editor.exe", false},
                      AbsoluteCase{"DriveOnly", L"C:", false},
                      AbsoluteCase{"RootedWithoutDrive", L"\\Tools\\editor.exe", false},
                      AbsoluteCase{"ServerWithoutShare", L"\\\\server", false},
                      AbsoluteCase{"ServerWithEmptyShare", L"\\\\server\\", false},
                      AbsoluteCase{"NoServer", L"\\\\\\share", false},
                      AbsoluteCase{"DigitIsNoDrive", L"1:\\x", false},
                      AbsoluteCase{"Placeholder", L"直接拖拽文件夹、exe或快捷方式至此", false}),
    CaseName);

struct FreePathCase {
    const char* name;
    // Listed by name, not as raw bytes.
    friend void PrintTo(const FreePathCase& c, std::ostream* os) { *os << c.name; }
    std::set<std::wstring> taken;
    std::wstring expected;
};

class NumbersShortcut : public ::testing::TestWithParam<FreePathCase> {};

TEST_P(NumbersShortcut, WithTheFirstFreeNumber) {
    const auto& taken = GetParam().taken;
    EXPECT_EQ(FreeShortcutPath(L"C:\\S", L"editor",
                               [&taken](const std::wstring& path) { return taken.contains(path); }),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Folder, NumbersShortcut,
    ::testing::Values(
        FreePathCase{"Free", {}, L"C:\\S\\editor.lnk"},
        FreePathCase{"Taken", {L"C:\\S\\editor.lnk"}, L"C:\\S\\editor (2).lnk"},
        FreePathCase{"GapIsFilled",
                     {L"C:\\S\\editor.lnk", L"C:\\S\\editor (3).lnk"},
                     L"C:\\S\\editor (2).lnk"},
        FreePathCase{"NumberedFreeButPlainFree", {L"C:\\S\\editor (2).lnk"}, L"C:\\S\\editor.lnk"},
        FreePathCase{"PastNine",
                     {L"C:\\S\\editor.lnk", L"C:\\S\\editor (2).lnk", L"C:\\S\\editor (3).lnk",
                      L"C:\\S\\editor (4).lnk", L"C:\\S\\editor (5).lnk", L"C:\\S\\editor (6).lnk",
                      L"C:\\S\\editor (7).lnk", L"C:\\S\\editor (8).lnk", L"C:\\S\\editor (9).lnk"},
                     L"C:\\S\\editor (10).lnk"}),
    CaseName);

}  // namespace
}  // namespace vantrel
