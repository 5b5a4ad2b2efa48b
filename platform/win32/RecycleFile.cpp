#include <windows.h>

#include <shellapi.h>

#include "platform/win32/ExtendedPath.h"
#include "platform/win32/ShellOperationError.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Platform.h"

namespace vantrel::win32 {
namespace {

// The shell drops a trailing dot or space from a name, and would then reach
// another file ("x." becomes "x"): such a name must not be handed to it.
bool ShellCanAddress(const std::wstring& path) {
    return !path.empty() && path.back() != L'.' && path.back() != L' ';
}

constexpr LONG kStatusDeletePending = static_cast<LONG>(0xC0000056);

}  // namespace

int SystemShellFileOperation(SHFILEOPSTRUCTW& operation) {
    static const SystemLibrary shell32(L"shell32.dll");
    static const auto function = shell32.Get<decltype(SHFileOperationW)>("SHFileOperationW");
    return function(&operation);
}

DWORD SystemFileAttributes(const std::wstring& path) {
    return GetFileAttributesW(path.c_str());
}

// Looked up once, before any look it describes: ntdll is in every process.
LastNtStatusQuery SystemLastNtStatus() {
    const auto function = LoadedFunction<LONG(WINAPI*)()>(L"ntdll.dll", "RtlGetLastNtStatus");
    if (!function) return [] { return LONG{0}; };
    return function;
}

bool Win32Platform::IsGone(const std::wstring& extendedPath) const {
    if (fileAttributes_(extendedPath) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
    // A share, or a disk without POSIX deletes, keeps a deleted file while another program
    // (a virus scanner, the indexer) holds it open, and denies every look at it meanwhile.
    if (error == ERROR_ACCESS_DENIED && lastNtStatus_() == kStatusDeletePending) return true;
    ThrowSystemError(error);
}

DeleteOutcome Win32Platform::RecycleFile(const std::wstring& path) {
    const std::wstring extended = ExtendedPath(path);
    const DWORD attributes = fileAttributes_(extended);
    if (attributes == INVALID_FILE_ATTRIBUTES) ThrowLastError();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) ThrowSystemError(ERROR_ACCESS_DENIED);
    if (!ShellCanAddress(path)) ThrowSystemError(ERROR_INVALID_NAME);

    // Fully qualified, or the shell may not honour the undo.
    std::wstring from = FullPath(path);
    from.push_back(L'\0');  // the list is double-null terminated
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = MessageOwner();  // so the question cannot open behind the window
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    // The shell's own words for whatever keeps the file: its warning before a file that
    // cannot go to the Recycle Bin (a network share, a bin turned off) is deleted for good,
    // and its error dialogs (a file in use), whose Cancel is a cancel the user saw. With
    // FOF_NOERRORUI the shell may cancel silently: a click on 删除 would end without a word.
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_WANTNUKEWARNING | FOF_SILENT;
    const int result = shellFileOperation_(operation);

    // The folder, not the codes, tells what happened. A look that fails otherwise (a
    // network error, access denied) tells nothing: the delete fails with its reason.
    if (IsGone(extended)) return DeleteOutcome::Deleted;
    const DWORD error = result ? ShellOperationError(result) : ERROR_SUCCESS;
    // The user has just answered the shell's question or dialog with No or Cancel.
    if (error == ERROR_CANCELLED || (error == ERROR_SUCCESS && operation.fAnyOperationsAborted)) {
        return DeleteOutcome::KeptByUser;
    }
    // The shell may report success for what it skipped.
    ThrowSystemError(error != ERROR_SUCCESS ? error : ERROR_ACCESS_DENIED);
}

}  // namespace vantrel::win32
