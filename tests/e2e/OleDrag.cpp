#include "tests/e2e/OleDrag.h"

#include <windows.h>

#include <wrl/client.h>

#include <memory>
#include <stdexcept>
#include <thread>

#include "platform/win32/UniqueHandle.h"
#include "tests/e2e/ComObject.h"
#include "tests/e2e/UserInput.h"
#include "tests/e2e/Wait.h"

namespace vantrel::testing {
namespace {

constexpr wchar_t kSourceClass[] = L"VantrelTestDragSource";
constexpr int kSourceSize = 40;

struct WindowDestroyer {
    void operator()(HWND window) const noexcept { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// Continues while the left button is down, drops when it is released.
class ButtonDropSource final : public ComObject<IDropSource> {
  public:
    explicit ButtonDropSource(HANDLE started) : ComObject(IID_IDropSource), started_(started) {}

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        SetEvent(started_);
        if (escape) return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

  private:
    HANDLE started_;
};

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A small window away from `avoid`, for the button press that starts the drag.
UniqueWindow MakeSourceWindow(POINT avoid) {
    static const ATOM registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kSourceClass;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        return RegisterClassW(&windowClass);
    }();
    if (!registered) throw std::runtime_error("the drag source class was not registered");
    const int x = avoid.x > GetSystemMetrics(SM_CXSCREEN) / 2
                      ? 0
                      : GetSystemMetrics(SM_CXSCREEN) - kSourceSize;
    UniqueWindow window(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kSourceClass, L"",
                                        WS_POPUP | WS_VISIBLE, x, 0, kSourceSize, kSourceSize,
                                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!window) throw std::runtime_error("the drag source window was not created");
    SetForegroundWindow(window.get());
    PumpMessages();
    return window;
}

// The cursor's way to the target and the release there, once the drag runs.
void MoveAndRelease(HANDLE started, POINT from, POINT to) {
    WaitForSingleObject(started, static_cast<DWORD>(kPatience.count()));
    constexpr int kSteps = 10;
    for (int step = 1; step <= kSteps; ++step) {
        MoveMouse(
            {from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps});
        Sleep(30);
    }
    Sleep(200);  // let the target answer DragEnter and DragOver
    ReleaseLeftButton(to);
}

}  // namespace

DragOutcome DragTo(IDataObject* data, POINT screenTarget) {
    const UniqueWindow source = MakeSourceWindow(screenTarget);
    RECT place;
    GetWindowRect(source.get(), &place);
    const POINT start{(place.left + place.right) / 2, (place.top + place.bottom) / 2};

    PressLeftButton(start);
    const bool pressed = WaitUntil([] {
        PumpMessages();
        return GetKeyState(VK_LBUTTON) < 0;
    });
    if (!pressed) {
        ReleaseLeftButton(start);
        throw std::runtime_error("the button press did not reach the drag source");
    }

    const win32::UniqueKernelHandle started(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!started) throw std::runtime_error("CreateEventW failed");
    std::thread mover(MoveAndRelease, started.get(), start, screenTarget);
    Microsoft::WRL::ComPtr<IDropSource> dropSource;
    dropSource.Attach(new ButtonDropSource(started.get()));
    DragOutcome outcome{E_FAIL, DROPEFFECT_NONE};
    outcome.result =
        DoDragDrop(data, dropSource.Get(), DROPEFFECT_COPY | DROPEFFECT_LINK, &outcome.effect);
    SetEvent(started.get());  // the mover must not wait for a drag that never ran
    mover.join();
    return outcome;
}

}  // namespace vantrel::testing
