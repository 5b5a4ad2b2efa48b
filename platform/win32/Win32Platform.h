#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>

#include "platform/Platform.h"

namespace vantrel::win32 {

// The shell's file operation, as SHFileOperationW; a test may hand in its own.
using ShellFileOperation = std::function<int(SHFILEOPSTRUCTW&)>;
int SystemShellFileOperation(SHFILEOPSTRUCTW& operation);
// A file's attributes as GetFileAttributesW gives them, its failure in GetLastError;
// how a delete looks at its file before and after the shell's work. A test may hand in its own.
using FileAttributesQuery = std::function<DWORD(const std::wstring& path)>;
DWORD SystemFileAttributes(const std::wstring& path);
// The NT status of the thread's last failed system call, as ntdll's RtlGetLastNtStatus gives
// it: only the status tells a file whose delete is pending from one the user may not touch.
// A test may hand in its own.
using LastNtStatusQuery = std::function<LONG()>;
LastNtStatusQuery SystemLastNtStatus();

// The Windows implementation of the platform operations.
class Win32Platform final : public Platform {
  public:
    // `title` captions every message box.
    explicit Win32Platform(std::wstring title,
                           ShellFileOperation shellFileOperation = SystemShellFileOperation,
                           FileAttributesQuery fileAttributes = SystemFileAttributes,
                           LastNtStatusQuery lastNtStatus = SystemLastNtStatus())
        : title_(std::move(title)),
          shellFileOperation_(std::move(shellFileOperation)),
          fileAttributes_(std::move(fileAttributes)),
          lastNtStatus_(std::move(lastNtStatus)) {}

    std::vector<std::wstring> EnvironmentEntries() const override;
    std::vector<std::wstring> ListFiles(const std::wstring& folder) const override;
    bool Exists(const std::wstring& path) const override;
    DeleteOutcome RecycleFile(const std::wstring& path) override;
    void ShowMessage(const std::wstring& text) override;
    void StartExplorer(const std::wstring& argument) override;
    std::unique_ptr<AutomationObject> CreateObject(const std::wstring& progId) override;

    // Asked for the owner of each message box, and of each question the shell
    // asks, as it opens, since the main window changes with every reload; null or
    // no function gives a task-modal box.
    void SetMessageOwner(std::function<HWND()> owner) { messageOwner_ = std::move(owner); }

  private:
    HWND MessageOwner() const { return messageOwner_ ? messageOwner_() : nullptr; }
    // True when the system says the file is not there, or going as soon as the last handle on
    // it closes; any other failure to look is thrown.
    bool IsGone(const std::wstring& extendedPath) const;

    std::wstring title_;
    ShellFileOperation shellFileOperation_;
    FileAttributesQuery fileAttributes_;
    LastNtStatusQuery lastNtStatus_;
    std::function<HWND()> messageOwner_;
};

// Names the owner of the platform's message boxes for the life of the object.
class MessageOwnerScope {
  public:
    MessageOwnerScope(Win32Platform& platform, std::function<HWND()> owner) : platform_(platform) {
        platform_.SetMessageOwner(std::move(owner));
    }
    ~MessageOwnerScope() { platform_.SetMessageOwner(nullptr); }
    MessageOwnerScope(const MessageOwnerScope&) = delete;
    MessageOwnerScope& operator=(const MessageOwnerScope&) = delete;

  private:
    Win32Platform& platform_;
};

}  // namespace vantrel::win32
