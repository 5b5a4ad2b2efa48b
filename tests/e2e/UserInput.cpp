#include "tests/e2e/UserInput.h"

#include <memory>
#include <stdexcept>
#include <vector>

#include "tests/e2e/Wait.h"

namespace vantrel::testing {
namespace {

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
    input.ki.wVk = virtualKey;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    return input;
}

INPUT Mouse(LONG x, LONG y, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    return input;
}

}  // namespace

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
    constexpr DWORD kAt = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | MOUSEEVENTF_MOVE;
    Send({Mouse(x, y, kAt), Mouse(x, y, kAt | MOUSEEVENTF_LEFTDOWN),
          Mouse(x, y, kAt | MOUSEEVENTF_LEFTUP)});
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
