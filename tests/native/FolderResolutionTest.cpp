#include <gtest/gtest.h>

#include "platform/Error.h"
#include "sendto/ErrorText.h"
#include "sendto/FolderResolution.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"

namespace vantrel {
namespace {

struct ResolvesCase {
    const char* name;
    // Listed by name, not as raw bytes.
    friend void PrintTo(const ResolvesCase& c, std::ostream* os) { *os << c.name; }
    std::vector<std::wstring> environment;
    std::wstring expected;
};

class ResolvesFolder : public ::testing::TestWithParam<ResolvesCase> {};

TEST_P(ResolvesFolder, FromTheAppDataEntry) {
    EXPECT_EQ(ResolveSendToFolder(GetParam().environment), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Environment, ResolvesFolder,
    ::testing::Values(
        ResolvesCase{"Typical",
                     {L"ALLUSERSPROFILE=C:\\ProgramData",
                      L"APPDATA=C:\\Users\\user1\\AppData\\Roaming", L"USERNAME=user1"},
                     L"C:\\Users\\user1\\AppData\\Roaming\\Microsoft\\Windows\\SendTo"},
        ResolvesCase{"LastEntry",
                     {L"PATH=C:\\Windows", L"APPDATA=C:\\Z"},
                     L"C:\\Z\\Microsoft\\Windows\\SendTo"},
        ResolvesCase{"TrailingBackslashIsKept",
                     {L"APPDATA=C:\\Data\\"},
                     L"C:\\Data\\\\Microsoft\\Windows\\SendTo"},
        ResolvesCase{"NamesThatOnlyContainAppDataDoNotWin",
                     {L"XAPPDATA=D:\\x", L"APPDATAX=D:\\y", L"MY_APPDATA=D:\\z", L"APPDATA=C:\\R"},
                     L"C:\\R\\Microsoft\\Windows\\SendTo"},
        ResolvesCase{"AppDataInsideAnotherValueDoesNotWin",
                     {L"NOTE=see APPDATA=D:\\wrong", L"APPDATA=C:\\R"},
                     L"C:\\R\\Microsoft\\Windows\\SendTo"},
        ResolvesCase{"ValueContainingAppDataIsKeptWhole",
                     {L"APPDATA=C:\\APPDATA=x"},
                     L"C:\\APPDATA=x\\Microsoft\\Windows\\SendTo"},
        ResolvesCase{"NameComparesWithoutCase",
                     {L"AppData=C:\\Mixed"},
                     L"C:\\Mixed\\Microsoft\\Windows\\SendTo"},
        ResolvesCase{
            "LowerCaseName", {L"appdata=C:\\lower"}, L"C:\\lower\\Microsoft\\Windows\\SendTo"},
        ResolvesCase{"HiddenDriveEntriesAreSkipped",
                     {L"=C:=C:\\Windows", L"=APPDATA=D:\\hidden", L"=::=::\\", L"APPDATA=C:\\R"},
                     L"C:\\R\\Microsoft\\Windows\\SendTo"},
        ResolvesCase{"FirstOfTwoWins",
                     {L"APPDATA=C:\\first", L"APPDATA=C:\\second"},
                     L"C:\\first\\Microsoft\\Windows\\SendTo"},
        ResolvesCase{"ValueIsNotTrimmedOrExpanded",
                     {L"APPDATA= %USERPROFILE%\\x "},
                     L" %USERPROFILE%\\x \\Microsoft\\Windows\\SendTo"}),
    CaseName);

struct RefusesCase {
    const char* name;
    // Listed by name, not as raw bytes.
    friend void PrintTo(const RefusesCase& c, std::ostream* os) { *os << c.name; }
    std::vector<std::wstring> environment;
    const wchar_t* message;
};

class RefusesFolder : public ::testing::TestWithParam<RefusesCase> {};

// The start shows the text alone: the logic's own failures carry no system code.
TEST_P(RefusesFolder, WithAClearMessage) {
    try {
        const auto folder = ResolveSendToFolder(GetParam().environment);
        ADD_FAILURE() << "resolved " << folder << " without a usable APPDATA";
    } catch (const Error& e) {
        EXPECT_EQ(ErrorText(e), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Environment, RefusesFolder,
    ::testing::Values(
        RefusesCase{
            "NoAppData", {L"PATH=C:\\Windows", L"LOCALAPPDATA=D:\\Local"}, texts::kAppDataMissing},
        RefusesCase{"NameWithoutEquals", {L"APPDATA"}, texts::kAppDataMissing},
        RefusesCase{"OnlyHiddenEntry", {L"=APPDATA=C:\\x"}, texts::kAppDataMissing},
        RefusesCase{"EmptyValue", {L"APPDATA="}, texts::kAppDataEmpty},
        RefusesCase{"EmptyValueFirst", {L"APPDATA=", L"APPDATA=C:\\later"}, texts::kAppDataEmpty}),
    CaseName);

}  // namespace
}  // namespace vantrel
