#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/Error.h"
#include "platform/win32/ExtendedPath.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"
#include "tests/CaseName.h"
#include "tests/windows/RecycleBin.h"
#include "tests/windows/TempFolder.h"
#include "tests/windows/Wine.h"

namespace vantrel {
namespace {

using testing::ExpectRecycledThenErase;
using testing::PathExists;
using testing::TempFolder;
using testing::UniqueName;

class Win32RecycleFile : public ::testing::Test {
  protected:
    void ExpectFailureKeeps(const std::wstring& path, DWORD code,
                            const std::vector<std::wstring>& kept) {
        try {
            platform.RecycleFile(path);
            ADD_FAILURE() << "recycled " << path.size() << " characters of path";
        } catch (const Error& e) {
            EXPECT_FALSE(e.Message().empty());
            EXPECT_EQ(e.SystemCode(), code) << path.size() << " characters of path";
        }
        for (const auto& item : kept) EXPECT_TRUE(PathExists(item)) << "deleted a bystander";
    }

    TempFolder folder;
    win32::Win32Platform platform{L"Vantrel"};
};

// Read-only as a user may leave a shortcut; doubled separators as APPDATA may be written.
TEST_F(Win32RecycleFile, MovesTheFileToTheRecycleBin) {
    const std::wstring neighbour = folder.AddFile(L"neighbour.lnk");
    for (const auto& [stem, attributes, separator] :
         {std::tuple{L"回收-", DWORD{FILE_ATTRIBUTE_NORMAL}, L"\\"},
          std::tuple{L"readonly-", DWORD{FILE_ATTRIBUTE_READONLY}, L"\\"},
          std::tuple{L"doubled-", DWORD{FILE_ATTRIBUTE_NORMAL}, L"\\\\.\\"}}) {
        const std::wstring name = UniqueName(stem, L".lnk");
        const std::wstring file = folder.AddFile(name, attributes, "shortcut bytes");
        EXPECT_EQ(platform.RecycleFile(folder.path() + separator + name), DeleteOutcome::Deleted);
        ExpectRecycledThenErase(file, "shortcut bytes");
    }
    EXPECT_TRUE(PathExists(neighbour));
}

// A name gone, a folder put in its place, or one the shell would read as another file's:
// "x." as "x", "y " as "y".
TEST_F(Win32RecycleFile, RefusesWhatIsNoListedFileAndDeletesNothing) {
    const std::wstring inner = folder.AddFolder(L"folder.lnk");
    const std::wstring content = folder.AddFile(L"folder.lnk\\inside.txt");
    const std::vector<std::wstring> all = {inner,
                                           content,
                                           folder.AddFile(L"x"),
                                           folder.AddFile(L"x."),
                                           folder.AddFile(L"y"),
                                           folder.AddFile(L"y ")};
    for (const auto& [path, code] :
         {std::pair{folder.path() + L"\\gone.lnk", DWORD{ERROR_FILE_NOT_FOUND}},
          {inner, ERROR_ACCESS_DENIED},
          {inner + L"\\", ERROR_ACCESS_DENIED},
          {folder.path() + L"\\", ERROR_ACCESS_DENIED},
          {all[3], ERROR_INVALID_NAME},
          {all[5], ERROR_INVALID_NAME}}) {
        ExpectFailureKeeps(path, code, all);
    }
}

// The shell's dialog, shown by this process while a delete waits on it.
HWND ShellDialogOfThisProcess() {
    for (HWND window = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); window;
         window = FindWindowExW(nullptr, window, L"#32770", nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// Wine asks instead whether to delete the file for good; the window tests answer it.
// Windows says the file is in use, so the user knows why it stays: the dialog's Cancel.
TEST_F(Win32RecycleFile, FileInUseIsKeptAfterTheShellSaidSo) {
    if (testing::RunningOnWine()) GTEST_SKIP() << "Wine asks before deleting a file in use";
    const std::wstring file = folder.AddFile(L"in use.lnk");
    const HANDLE open =
        CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    std::atomic<bool> seen = false;
    std::atomic<bool> done = false;
    std::thread user([&] {
        while (!done) {
            if (const HWND dialog = ShellDialogOfThisProcess()) {
                seen = true;
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            }
            Sleep(50);
        }
    });
    try {
        EXPECT_EQ(platform.RecycleFile(file), DeleteOutcome::KeptByUser);
    } catch (const Error& e) {
        ADD_FAILURE() << "failed with " << e.SystemCode() << " after the shell's dialog";
    }
    done = true;
    user.join();
    CloseHandle(open);
    EXPECT_TRUE(seen) << "the shell said nothing: the user would not know why the file stays";
    EXPECT_TRUE(PathExists(file));
}

// What the shell may answer a delete with, as the platform reads it.
struct ShellAnswerCase {
    const char* name;
    friend void PrintTo(const ShellAnswerCase& c, std::ostream* os) { *os << c.name; }
    int result = 0;
    bool aborted = false;
    bool deletes = false;                     // the shell removed the file
    DeleteOutcome outcome = DeleteOutcome{};  // when it does not fail
    DWORD failure = 0;                        // the code it fails with, or 0
    DWORD lookFailure = 0;  // how the look at the file after the shell's work fails, or 0
    LONG lookStatus = 0;    // the NT status behind that failure, or 0 for the system's own
    bool heldOpen = false;  // another program holds the file open, allowing its delete
};

// As the shell deletes on a share, or on a disk without POSIX deletes: the name stays,
// its delete pending, while another handle is open.
void DeleteForGood(const wchar_t* path) {
    const win32::UniqueKernelHandle file(
        CreateFileW(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, 0, nullptr));
    FILE_DISPOSITION_INFO dispose{TRUE};
    ASSERT_NE(file.get(), INVALID_HANDLE_VALUE);
    ASSERT_TRUE(
        SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof dispose));
}

class Win32ShellAnswer : public ::testing::TestWithParam<ShellAnswerCase> {};

TEST_P(Win32ShellAnswer, IsReadFromTheFolderAndTheShellsWords) {
    const auto& c = GetParam();
    // Wine 8 still shows a file whose delete is pending, as if it were not deleted.
    if (c.heldOpen && testing::RunningOnWine()) GTEST_SKIP() << "Wine shows a pending delete";
    TempFolder folder;
    const std::wstring file = folder.AddFile(L"editor.lnk");
    // A scanner's handle: the shell's delete leaves the file pending until it closes.
    const HANDLE opened =
        c.heldOpen ? CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, 0, nullptr)
                   : nullptr;
    ASSERT_NE(opened, INVALID_HANDLE_VALUE);
    win32::UniqueKernelHandle holder(opened);
    SHFILEOPSTRUCTW asked{};
    std::wstring from;
    const auto systemStatus = win32::SystemLastNtStatus();
    win32::Win32Platform platform(
        L"Vantrel",
        [&](SHFILEOPSTRUCTW& operation) {
            asked = operation;
            from = operation.pFrom;
            if (c.deletes) DeleteForGood(operation.pFrom);
            operation.fAnyOperationsAborted = c.aborted;
            return c.result;
        },
        [&](const std::wstring& path) {
            if (from.empty() || !c.lookFailure) return GetFileAttributesW(path.c_str());
            SetLastError(c.lookFailure);
            return INVALID_FILE_ATTRIBUTES;
        },
        [&] { return c.lookStatus ? c.lookStatus : systemStatus(); });
    const win32::MessageOwnerScope owner(platform, [] { return GetDesktopWindow(); });

    DWORD failure = 0;
    DeleteOutcome outcome{};
    try {
        // Written as APPDATA may give it: the shell honours the undo only for the full path.
        outcome = platform.RecycleFile(folder.path() + L"\\.\\\\editor.lnk");
    } catch (const Error& e) {
        failure = e.SystemCode();
    }
    holder.reset();

    EXPECT_EQ(failure, c.failure);
    if (!c.failure) {
        EXPECT_EQ(outcome, c.outcome);
    }
    EXPECT_EQ(PathExists(file), !c.deletes);
    // Asked to warn before a permanent delete, in front of Vantrel's window.
    EXPECT_EQ(asked.wFunc, static_cast<UINT>(FO_DELETE));
    EXPECT_EQ(from, file);
    EXPECT_EQ(asked.hwnd, GetDesktopWindow());
    constexpr FILEOP_FLAGS kAsked = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_WANTNUKEWARNING;
    EXPECT_EQ(asked.fFlags & kAsked, kAsked);
    EXPECT_EQ(asked.fFlags & FOF_NOERRORUI, 0) << "the shell could cancel without a word";
}

constexpr LONG kDeletePending = static_cast<LONG>(0xC0000056);  // STATUS_DELETE_PENDING
constexpr LONG kDenied = static_cast<LONG>(0xC0000022);         // STATUS_ACCESS_DENIED

constexpr DeleteOutcome kDeleted = DeleteOutcome::Deleted;
constexpr DeleteOutcome kKept = DeleteOutcome::KeptByUser;

INSTANTIATE_TEST_SUITE_P(
    Answer, Win32ShellAnswer,
    ::testing::Values(
        ShellAnswerCase{.name = "Deleted", .deletes = true, .outcome = kDeleted},
        ShellAnswerCase{.name = "NoToTheWarningAsAnAbortAlone", .aborted = true, .outcome = kKept},
        ShellAnswerCase{.name = "NoToTheWarningInTheShellsOldCode",
                        .result = 0x75,
                        .aborted = true,
                        .outcome = kKept},
        ShellAnswerCase{.name = "AbortedOverAnotherError",
                        .result = ERROR_SHARING_VIOLATION,
                        .aborted = true,
                        .failure = ERROR_SHARING_VIOLATION},
        ShellAnswerCase{.name = "FailedYetGone",
                        .result = ERROR_SHARING_VIOLATION,
                        .deletes = true,
                        .outcome = kDeleted},
        ShellAnswerCase{.name = "SuccessThatKeptTheFile", .failure = ERROR_ACCESS_DENIED},
        // A redirected AppData folder whose server is gone says nothing of the file.
        ShellAnswerCase{.name = "SuccessButTheLookFailsOverTheNetwork",
                        .failure = ERROR_BAD_NETPATH,
                        .lookFailure = ERROR_BAD_NETPATH},
        // Pending until a scanner lets go: gone for the user.
        ShellAnswerCase{.name = "DeletePending",
                        .outcome = kDeleted,
                        .lookFailure = ERROR_ACCESS_DENIED,
                        .lookStatus = kDeletePending},
        ShellAnswerCase{.name = "AccessDeniedNotPending",
                        .failure = ERROR_ACCESS_DENIED,
                        .lookFailure = ERROR_ACCESS_DENIED,
                        .lookStatus = kDenied},
        ShellAnswerCase{.name = "DeletedWhileAnotherProgramHoldsIt",
                        .deletes = true,
                        .outcome = kDeleted,
                        .heldOpen = true}),
    CaseName);

// A Send To folder redirected to a network share is reached in the long form too.
TEST(Win32ExtendedPath, OfAShareIsItsUncForm) {
    EXPECT_EQ(win32::ExtendedPath(L"\\\\server\\share\\SendTo"),
              L"\\\\?\\UNC\\server\\share\\SendTo");
}

// The delete pending behind a denied look is read from the system's last NT status.
TEST(Win32LastNtStatus, IsTheSystemsOwn) {
    const auto status = win32::SystemLastNtStatus();
    ASSERT_EQ(GetFileAttributesW(L"C:\\vantrel-no-such-file"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(static_cast<ULONG>(status()), 0xC0000034u);  // STATUS_OBJECT_NAME_NOT_FOUND
}

}  // namespace
}  // namespace vantrel
