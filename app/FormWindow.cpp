#include "app/FormWindow.h"

#include <algorithm>

#include "app/Dpi.h"
#include "app/PlaceholderSelection.h"
#include "app/ScreenReaderNames.h"
#include "platform/win32/SystemError.h"

namespace vantrel::app {
namespace {

UniqueFont CreateDesignFont(const FontDesign& design, UINT dpi, const FontMaker& makeFont) {
    UniqueFont created = makeFont(DesignLogFont(design, dpi));
    if (!created) win32::ThrowLastError();
    return created;
}

// `at` where it lies in [low, high); else as near as a window of `size` fits, never below `low`.
int Within(int at, int size, int low, int high) {
    if (at >= low && at < high) return at;
    return std::max(low, std::min(at, high - size));
}

}  // namespace

UniqueFont MakeFont(const LOGFONTW& font) {
    return UniqueFont(CreateFontIndirectW(&font));
}

FormWindow::FormWindow(HINSTANCE instance, const wchar_t* className, void* creationData,
                       IDropTarget* text1Target, const FontMaker& makeFont) {
    window_.reset(CreateWindowExW(kExtendedStyle, className, texts::kTitle, kStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, creationData));
    if (!window_) win32::ThrowLastError();

    // From here on a failure destroys the window with window_.
    CreateControls(instance);
    SelectPlaceholderWhenEntered(Control(kText1), texts::kPlaceholder);
    NameForScreenReaders(Control(kText1), Control(kList1), Control(kLabel1));
    const UINT dpi = DpiForWindow(Handle());
    ApplyLayout(dpi, makeFont);
    CenterOnWorkArea(FrameSize(dpi));

    win32::ThrowIfFailed(RegisterDragDrop(Control(kText1), text1Target));
}

void FormWindow::CreateControls(HINSTANCE instance) {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlDesign& design = kControls[i];
        controls_[i] = CreateWindowExW(design.extendedStyle, design.className, design.text,
                                       WS_CHILD | WS_VISIBLE | design.style, 0, 0, 0, 0, Handle(),
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)),
                                       instance, nullptr);
        if (!controls_[i]) win32::ThrowLastError();
    }
}

HWND FormWindow::Control(ControlId id) const {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (kControls[i].id == id) return controls_[i];
    }
    return nullptr;
}

void FormWindow::ApplyLayout(UINT dpi, const FontMaker& makeFont) {
    std::array<UniqueFont, kControls.size()> fonts;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        fonts[i] = CreateDesignFont(kControls[i].font, dpi, makeFont);
    }
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlDesign& design = kControls[i];
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(fonts[i].get()), TRUE);
        SetWindowPos(controls_[i], nullptr, TwipsToPixels(design.left, dpi),
                     TwipsToPixels(design.top, dpi), TwipsToPixels(design.width, dpi),
                     TwipsToPixels(design.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The old fonts go only now that every control has let go of them.
    fonts_.swap(fonts);
}

SIZE FormWindow::FrameSize(UINT dpi) {
    const SIZE client{TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi)};
    return WindowSizeForClient(client, kStyle, kExtendedStyle, dpi);
}

void FormWindow::CenterOnWorkArea(SIZE frame) const {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    POINT at{};
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        const RECT& work = monitor.rcWork;
        // On a screen smaller than the window the caption stays on it.
        at = {std::max(work.left, work.left + (work.right - work.left - frame.cx) / 2),
              std::max(work.top, work.top + (work.bottom - work.top - frame.cy) / 2)};
    } else {
        flags |= SWP_NOMOVE;  // the system's default position is a fine fallback
    }
    if (!SetWindowPos(Handle(), nullptr, at.x, at.y, frame.cx, frame.cy, flags)) {
        win32::ThrowLastError();
    }
}

POINT FormWindow::TopLeftOnWorkArea(const RECT& frame) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return {frame.left, frame.top};
    }
    const RECT& work = monitor.rcWork;
    return {Within(frame.left, frame.right - frame.left, work.left, work.right),
            Within(frame.top, frame.bottom - frame.top, work.top, work.bottom)};
}

void FormWindow::KeepTopLeftOnWorkArea() const {
    RECT frame{};
    if (IsIconic(Handle()) || !GetWindowRect(Handle(), &frame)) return;
    const POINT at = TopLeftOnWorkArea(frame);
    if (at.x == frame.left && at.y == frame.top) return;
    SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::RememberFocus() {
    const HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus)) focused_ = focus;
}

void FormWindow::RestoreFocus() {
    if (focused_ && !IsChild(Handle(), focused_)) focused_ = nullptr;  // gone, or a reused handle
    SetFocus(focused_ ? focused_ : Control(kText1));
}

}  // namespace vantrel::app
