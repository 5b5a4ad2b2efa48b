#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/win32/ListingOrder.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"
#include "sendto/FolderResolution.h"
#include "tests/windows/EnvironmentValue.h"
#include "tests/windows/TempFolder.h"
#include "tests/windows/Wine.h"

namespace vantrel {
namespace {

using testing::TempFolder;

win32::Win32Platform platform(L"Vantrel");

template <typename Work>
std::uint32_t FailureOf(Work&& work) {
    try {
        work();
    } catch (const Error& e) {
        // The system's words end where the code is put after them, with no line break.
        EXPECT_FALSE(e.Message().empty() || std::iswspace(e.Message().back())) << e.Message();
        return e.SystemCode();
    }
    ADD_FAILURE() << "no failure";
    return 0;
}

// Not sorted, a hidden drive entry among them: a copy of this program started with
// exactly these entries must be given exactly these, in this order.
const std::vector<std::wstring> kStartedWith = {L"VANTREL_STARTED_WITH_KNOWN_ENTRIES=1",
                                                L"Zeta=the last name in the first place",
                                                L"=C:=C:\\工作",
                                                L"VANTREL_名字=值 😀 =x",
                                                L"EMPTY=",
                                                L"APPDATA=C:\\用户\\Roaming"};

// Runs the current test in a copy of this program whose whole environment is `entries`;
// returns what the copy printed.
std::string OutputOfThisTestStartedWith(const std::vector<std::wstring>& entries) {
    std::wstring block;
    for (const std::wstring& entry : entries) block += entry + L'\0';
    block += L'\0';
    std::wstring self(32768, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string(test->test_suite_name()) + "." + test->name();
    std::wstring command = L"\"" + self + L"\" --gtest_brief=1 --gtest_filter=" +
                           std::wstring(filter.begin(), filter.end());

    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inherited, 0)) return "CreatePipe failed";
    const win32::UniqueKernelHandle reader(read);
    win32::UniqueKernelHandle writer(write);
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = write;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(self.c_str(), command.data(), nullptr, nullptr, TRUE,
                        CREATE_UNICODE_ENVIRONMENT, block.data(), nullptr, &startup, &started)) {
        return "CreateProcessW failed: " + std::to_string(GetLastError());
    }
    const win32::UniqueKernelHandle process(started.hProcess);
    const win32::UniqueKernelHandle thread(started.hThread);
    writer.reset();  // so that the read ends when the copy does
    std::string output;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(read, chunk, sizeof chunk, &got, nullptr) && got > 0) output.append(chunk, got);
    return output;
}

TEST(Win32Environment, GivesEveryEntryTheProgramWasStartedWithInItsOrder) {
    if (!testing::EnvironmentValue(L"VANTREL_STARTED_WITH_KNOWN_ENTRIES").empty()) {
        std::vector<std::wstring> entries = platform.EnvironmentEntries();
        // Wine adds entries of its own (WINE..., SystemRoot) after the block.
        if (testing::RunningOnWine() && entries.size() > kStartedWith.size()) {
            entries.resize(kStartedWith.size());
        }
        EXPECT_EQ(entries, kStartedWith);
        return;
    }
    const std::string copy = OutputOfThisTestStartedWith(kStartedWith);
    EXPECT_NE(copy.find("[  PASSED  ] 1 test."), std::string::npos) << copy;

    // And what the program set since.
    ASSERT_TRUE(SetEnvironmentVariableW(L"VANTREL_名字", L"值 😀 =x"));
    const auto entries = platform.EnvironmentEntries();
    EXPECT_NE(std::ranges::find(entries, L"VANTREL_名字=值 😀 =x"), entries.end());
}

// The system's own expansion of the path, as a shortcut or a script would give it.
std::wstring ExpandedByTheSystem(const wchar_t* path) {
    std::wstring expanded(ExpandEnvironmentStringsW(path, nullptr, 0), L'\0');
    expanded.resize(
        ExpandEnvironmentStringsW(path, expanded.data(), static_cast<DWORD>(expanded.size())));
    if (!expanded.empty()) expanded.pop_back();  // the count includes the terminating null
    return expanded;
}

TEST(Win32Environment, ResolvesTheSameFolderAsTheSystemsOwnLookup) {
    // The tests after this one see the APPDATA the program was started with, however it ends.
    const struct Restored {
        Restored() = default;
        Restored(const Restored&) = delete;
        Restored& operator=(const Restored&) = delete;
        std::wstring value = testing::EnvironmentValue(L"APPDATA");
        ~Restored() {
            SetEnvironmentVariableW(L"APPDATA", value.empty() ? nullptr : value.c_str());
        }
    } restored;
    for (const wchar_t* appData : {L"C:\\用户\\Roaming", L"C:\\用户\\Roaming\\"}) {
        ASSERT_TRUE(SetEnvironmentVariableW(L"APPDATA", appData));
        EXPECT_EQ(ResolveSendToFolder(platform.EnvironmentEntries()),
                  ExpandedByTheSystem(L"%APPDATA%\\Microsoft\\Windows\\SendTo"))
            << appData;
    }
}

// The order itself is proved by Win32ListingOrder below: Wine lists names sorted already.
TEST(Win32Listing, ShowsVisibleFilesOnly) {
    TempFolder folder;
    for (const wchar_t* name : {L"b.lnk", L"A.lnk", L"记事本.lnk", L"trailing space .lnk ",
                                L"trailing dot.", L"no extension"}) {
        folder.AddFile(name);
    }
    folder.AddFile(L"desktop.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    folder.AddFile(L"hidden.lnk", FILE_ATTRIBUTE_HIDDEN);
    folder.AddFile(L"system.lnk", FILE_ATTRIBUTE_SYSTEM);
    folder.AddFile(L"readonly.lnk", FILE_ATTRIBUTE_READONLY);
    const std::wstring subfolder = folder.AddFolder(L"folder.lnk");

    const std::vector<std::wstring> expected = {L"A.lnk",         L"b.lnk",
                                                L"no extension",  L"readonly.lnk",
                                                L"trailing dot.", L"trailing space .lnk ",
                                                L"记事本.lnk"};
    const auto names = platform.ListFiles(folder.path());
    EXPECT_EQ(names, expected);
    for (const auto& name : names) {
        EXPECT_TRUE(platform.Exists(folder.path() + L"\\" + name))
            << "cannot address a listed name";
    }
    EXPECT_TRUE(platform.ListFiles(subfolder).empty()) << "listed . or ..";
}

TEST(Win32Listing, WorksPastTheOldPathLimit) {
    TempFolder folder;
    std::wstring deep;
    while (deep.size() < 300) deep += L"深层文件夹-0123456789\\";
    const std::wstring file = folder.AddFile(deep + L"long.lnk");
    const std::wstring deepFolder = file.substr(0, file.rfind(L'\\'));
    ASSERT_GT(deepFolder.size(), 260u);

    EXPECT_EQ(platform.ListFiles(deepFolder), std::vector<std::wstring>{L"long.lnk"});
    EXPECT_TRUE(platform.Exists(file));
}

TEST(Win32Listing, MissingFolderOrFileFailsWithTheSystemsReason) {
    TempFolder folder;
    const std::wstring file = folder.AddFile(L"plain.txt");
    const auto missing =
        FailureOf([&] { platform.ListFiles(folder.path() + L"\\no such folder"); });
    EXPECT_TRUE(missing == ERROR_FILE_NOT_FOUND || missing == ERROR_PATH_NOT_FOUND) << missing;
    EXPECT_EQ(FailureOf([&] { platform.ListFiles(file); }),
              static_cast<std::uint32_t>(ERROR_DIRECTORY));
}

// Wine, like NTFS, hands a folder's names back sorted: the order is proved on lists
// that are not, each name before every name after it.
TEST(Win32ListingOrder, PutsNamesOfAnyOrderInTheListsOrder) {
    // Zeta before Zip though longer; Éc and éc differ in case alone, so exact order decides.
    const std::vector<std::wstring> ordered = {
        L"a",      L"A.lnk",  L"a.lnk",  L"b.lnk",  L"Zeta.lnk", L"Zip.lnk",   L"[x].lnk",
        L"_x.lnk", L"éa.lnk", L"Éb.lnk", L"Éc.lnk", L"éc.lnk",   L"记事本.lnk"};
    std::vector<std::wstring> rotated = ordered;
    std::rotate(rotated.begin(), rotated.begin() + 3, rotated.end());
    for (std::vector<std::wstring> names :
         {std::vector<std::wstring>(ordered.rbegin(), ordered.rend()), rotated}) {
        win32::SortForListing(names);
        EXPECT_EQ(names, ordered);
    }
}

TEST(Win32SystemLibrary, MissingDllOrFunctionFailsWithTheSystemsReason) {
    EXPECT_EQ(FailureOf([] { win32::SystemLibrary missing(L"vantrel-no-such.dll"); }),
              static_cast<std::uint32_t>(ERROR_MOD_NOT_FOUND));
    const win32::SystemLibrary kernel32(L"kernel32.dll");
    EXPECT_EQ(FailureOf([&] { kernel32.Get<void()>("VantrelNoSuchFunction"); }),
              static_cast<std::uint32_t>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(kernel32.Get<decltype(GetCurrentProcessId)>("GetCurrentProcessId")(),
              GetCurrentProcessId());
}

// Shell threads may still run a DLL's code while the program ends: nothing unloads it.
TEST(Win32SystemLibrary, KeepsItsDllLoadedOnceItGoes) {
    constexpr wchar_t kUnusedDll[] = L"msimg32.dll";
    ASSERT_EQ(GetModuleHandleW(kUnusedDll), nullptr) << "the test program loads it already";
    { const win32::SystemLibrary library(kUnusedDll); }
    EXPECT_NE(GetModuleHandleW(kUnusedDll), nullptr);
}

// Runs in a copy of this program, since the restriction cannot be undone.
TEST(Win32SystemLibrary, RestrictedSearchPassesOverADllPlantedInTheCurrentFolder) {
    constexpr wchar_t kMarker[] = L"VANTREL_RESTRICTS_DLL_SEARCH";
    if (testing::EnvironmentValue(kMarker).empty()) {
        std::vector<std::wstring> entries = platform.EnvironmentEntries();
        entries.push_back(std::wstring(kMarker) + L"=1");
        const std::string copy = OutputOfThisTestStartedWith(entries);
        EXPECT_NE(copy.find("[  PASSED  ] 1 test."), std::string::npos) << copy;
        return;
    }
    TempFolder folder;
    std::wstring system(MAX_PATH, L'\0');
    system.resize(GetSystemDirectoryW(system.data(), MAX_PATH));
    // A system DLL under names nothing else has, as a download folder could hold one.
    for (const wchar_t* name : {L"\\vantrel-planted-1.dll", L"\\vantrel-planted-2.dll"}) {
        ASSERT_TRUE(
            CopyFileW((system + L"\\msimg32.dll").c_str(), (folder.path() + name).c_str(), FALSE));
    }
    ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));
    const HMODULE found = LoadLibraryW(L"vantrel-planted-1.dll");
    EXPECT_NE(found, nullptr) << "found nowhere, so the next load proves nothing";
    win32::RestrictDllSearch();
    const HMODULE planted = LoadLibraryW(L"vantrel-planted-2.dll");
    const DWORD error = GetLastError();
    EXPECT_EQ(planted, nullptr);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    // The folder goes at the end: nothing may hold it.
    for (const HMODULE module : {found, planted}) {
        if (module) FreeLibrary(module);
    }
    SetCurrentDirectoryW(system.c_str());
}

}  // namespace
}  // namespace vantrel
