#include "tests/e2e/VantrelProcess.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "sendto/Texts.h"
#include "tests/e2e/WindowQueries.h"
#include "tests/windows/EnvironmentValue.h"

namespace vantrel::testing {
namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kMessageBoxTextId = 0xFFFF;

// Ends the enumeration when the list cannot grow: nothing may unwind through EnumWindows.
BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
    try {
        reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

// False also for a window that has gone since it was listed.
bool HasClass(HWND window, const wchar_t* className) {
    wchar_t name[64];
    return GetClassNameW(window, name, 64) > 0 && wcscmp(name, className) == 0;
}

// The caption as the system keeps it, without asking the other process.
bool HasCaption(HWND window, const wchar_t* caption) {
    wchar_t text[64];
    return GetWindowTextW(window, text, 64) > 0 && wcscmp(text, caption) == 0;
}

}  // namespace

std::wstring ExeNamedBy(const wchar_t* name) {
    std::wstring exe = EnvironmentValue(name);
    if (exe.empty()) {
        std::string ascii;
        for (const wchar_t* c = name; *c; ++c) ascii += static_cast<char>(*c);
        throw std::runtime_error(ascii + " is not set");
    }
    std::ranges::replace(exe, L'/', L'\\');
    return exe;
}

VantrelProcess::VantrelProcess(const ChildEnvironment& environment, const std::wstring& exe,
                               std::wstring mainWindowClass, WORD showState,
                               const std::wstring& arguments, const std::wstring& currentFolder)
    : mainWindowClass_(std::move(mainWindowClass)) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    std::wstring block = environment.Block();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (showState != SW_SHOWDEFAULT) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = showState;
    }
    PROCESS_INFORMATION started{};
    const auto start = [&] {
        return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                              CREATE_UNICODE_ENVIRONMENT, block.data(),
                              currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup,
                              &started);
    };
    // Wine now and then answers a start with ERROR_INTERNAL_ERROR while its desktop
    // process is busy; the same start a moment later goes through.
    bool created = start();
    if (!created && GetLastError() == ERROR_INTERNAL_ERROR) {
        Sleep(500);
        created = start();
    }
    if (!created) {
        throw std::runtime_error("CreateProcessW failed: " + std::to_string(GetLastError()));
    }
    process_.reset(started.hProcess);
    thread_.reset(started.hThread);
    processId_ = started.dwProcessId;
    threadId_ = started.dwThreadId;
}

VantrelProcess::~VantrelProcess() {
    if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 0xDEAD);
        WaitForSingleObject(process_.get(), 5000);
    }
}

std::vector<HWND> VantrelProcess::TopLevelWindows() const {
    std::vector<HWND> all;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    std::erase_if(all, [this](HWND window) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        return owner != processId_;
    });
    return all;
}

HWND VantrelProcess::FindMainWindow() const {
    for (const HWND window : TopLevelWindows()) {
        if (HasClass(window, mainWindowClass_.c_str())) return window;
    }
    return nullptr;
}

HWND VantrelProcess::FindDialog(bool captionedVantrel) const {
    for (const HWND window : TopLevelWindows()) {
        if (HasClass(window, kDialogClass) && IsWindowVisible(window) &&
            HasCaption(window, texts::kTitle) == captionedVantrel) {
            return window;
        }
    }
    return nullptr;
}

HWND VantrelProcess::FindMessageBox() const {
    return FindDialog(true);
}

HWND VantrelProcess::WaitForShellQuestion(std::chrono::milliseconds timeout) {
    return WaitForWindow([this] { return FindDialog(false); }, timeout);
}

HWND VantrelProcess::VisibleMainWindow() const {
    const HWND main = FindMainWindow();
    return main && IsWindowVisible(main) ? main : nullptr;
}

void VantrelProcess::Observe() {
    if (VisibleMainWindow()) mainWindowSeen_ = true;
}

template <typename Find>
HWND VantrelProcess::WaitForWindow(Find find, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            Observe();
            found = find();
            return found != nullptr;
        },
        timeout);
    return found;
}

HWND VantrelProcess::WaitForMainWindow(std::chrono::milliseconds timeout) {
    return WaitForWindow([this] { return VisibleMainWindow(); }, timeout);
}

HWND VantrelProcess::WaitForMessageBox(std::chrono::milliseconds timeout) {
    return WaitForWindow([this] { return FindMessageBox(); }, timeout);
}

HWND VantrelProcess::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(threadId_, &info)) return nullptr;
    return info.hwndFocus;
}

std::optional<DWORD> VantrelProcess::WaitForExit(std::chrono::milliseconds timeout) {
    const bool ended = WaitUntil(
        [&] {
            Observe();
            return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
        },
        timeout);
    DWORD code = 0;
    if (!ended || !GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
    return code;
}

std::wstring MessageBoxText(HWND box) {
    const HWND text = GetDlgItem(box, kMessageBoxTextId);
    if (!text) throw std::runtime_error("the message box has no text control");
    return Text(text);
}

void DismissMessageBox(HWND box) {
    const HWND ok = GetDlgItem(box, IDOK);
    if (!ok) throw std::runtime_error("the message box has no OK button");
    if (!PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                      reinterpret_cast<LPARAM>(ok))) {
        throw std::runtime_error("PostMessageW failed");
    }
}

}  // namespace vantrel::testing
