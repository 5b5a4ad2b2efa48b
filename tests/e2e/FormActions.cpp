#include "tests/e2e/FormActions.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include "app/Layout.h"
#include "tests/e2e/Wait.h"
#include "tests/e2e/WindowQueries.h"

namespace vantrel::testing {
namespace {

HWND ControlOf(HWND form, int id) {
    const HWND control = GetDlgItem(form, id);
    if (!control) throw std::runtime_error("no control " + std::to_string(id));
    return control;
}

void BringToFront(HWND window) {
    const HWND top = GetAncestor(window, GA_ROOT);
    if (GetForegroundWindow() == top) return;
    SetForegroundWindow(top);
    if (!WaitUntil([&] { return GetForegroundWindow() == top; })) {
        throw std::runtime_error("the window did not come to the foreground");
    }
}

struct WindowDestroyer {
    void operator()(HWND window) const noexcept { DestroyWindow(window); }
};

void Send(std::vector<INPUT> inputs) {
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (sent != inputs.size()) {
        throw std::runtime_error("SendInput failed: " + std::to_string(GetLastError()));
    }
}

INPUT Key(WORD virtualKey, WORD scan, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki = {virtualKey, scan, flags, 0, 0};
    return input;
}

INPUT Mouse(LONG x, LONG y, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi = {x, y, 0, flags, 0, 0};
    return input;
}

}  // namespace

void SetText1(HWND form, const std::wstring& text) {
    if (!Ask(ControlOf(form, app::kText1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) {
        throw std::runtime_error("Text1 refused the text");
    }
}

void SelectListItem(HWND form, int index) {
    const LRESULT selected =
        Ask(ControlOf(form, app::kList1), LB_SETCURSEL, static_cast<WPARAM>(index));
    if (index >= 0 && selected != index) throw std::runtime_error("List1 did not select the item");
}

void PostClick(HWND form, int buttonId) {
    if (!PostMessageW(ControlOf(form, buttonId), BM_CLICK, 0, 0)) {
        throw std::runtime_error("BM_CLICK could not be posted");
    }
}

std::wstring TakeMessage(VantrelProcess& process) {
    const HWND box = process.WaitForMessageBox();
    if (!box) return {};
    std::wstring text = MessageBoxText(box);
    DismissMessageBox(box);
    WaitUntil([&] { return !IsWindow(box); });
    return text;
}

std::wstring Add(VantrelProcess& process, const std::wstring& text) {
    const HWND form = process.FindMainWindow();
    SetText1(form, text);
    PostClick(form, app::kCommand1);
    return TakeMessage(process);
}

std::wstring Delete(VantrelProcess& process, int index) {
    const HWND form = process.FindMainWindow();
    SelectListItem(form, index);
    PostClick(form, app::kCommand2);
    return TakeMessage(process);
}

HWND CancelShellOnAFileInUse(VantrelProcess& process) {
    const HWND shell = process.WaitForShellQuestion();
    if (!shell) throw std::runtime_error("the shell said nothing about the file in use");
    const HWND owner = GetWindow(shell, GW_OWNER);
    PostMessageW(shell, WM_CLOSE, 0, 0);  // the dialog's Cancel
    WaitUntil([&] { return !IsWindow(shell); });
    return owner;
}

int EntryIndex(HWND form, const std::wstring& name) {
    const auto items = ListItems(ControlOf(form, app::kList1));
    const auto found = std::ranges::find(items, name);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

HWND WaitForNewMainWindow(VantrelProcess& process, HWND before) {
    HWND found = nullptr;
    WaitUntil([&] {
        found = process.FindMainWindow();
        return found && found != before && IsWindowVisible(found);
    });
    return found != before ? found : nullptr;
}

void PressKey(HWND window, WORD virtualKey) {
    BringToFront(window);
    const auto scan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    Send({Key(virtualKey, scan, 0), Key(virtualKey, scan, KEYEVENTF_KEYUP)});
}

void TypeText(HWND window, const std::wstring& text) {
    BringToFront(window);
    std::vector<INPUT> inputs;
    for (const wchar_t unit : text) {
        inputs.push_back(Key(0, unit, KEYEVENTF_UNICODE));
        inputs.push_back(Key(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    }
    Send(std::move(inputs));
}

void Click(HWND window, POINT point) {
    BringToFront(window);
    if (!ClientToScreen(window, &point)) throw std::runtime_error("ClientToScreen failed");
    // Absolute input runs from 0 to 65535 across the whole virtual screen, so a
    // window on any monitor of a real Windows can be reached.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const LONG x = MulDiv(point.x - left, 65535, width - 1);
    const LONG y = MulDiv(point.y - top, 65535, height - 1);
    // The pointer moves a little with the button down, as a hand does, and the click must
    // mean the same. (Wine's edit control sets the caret before it takes the focus.)
    const LONG moved = MulDiv(point.x + 4 - left, 65535, width - 1);
    constexpr DWORD kAt = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | MOUSEEVENTF_MOVE;
    Send({Mouse(x, y, kAt), Mouse(x, y, kAt | MOUSEEVENTF_LEFTDOWN), Mouse(moved, y, kAt),
          Mouse(moved, y, kAt | MOUSEEVENTF_LEFTUP)});
}

void SwitchAwayAndBack(HWND window) {
    // A window of the test's own process stands in for the other program.
    const std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer> other(
        CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                        200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!other) throw std::runtime_error("the other window could not be made");
    BringToFront(other.get());
    BringToFront(window);
}

}  // namespace vantrel::testing
