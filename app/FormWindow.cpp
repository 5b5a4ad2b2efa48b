#include "app/FormWindow.h"

#include "app/Dpi.h"
#include "app/PlaceholderSelection.h"
#include "app/ScreenReaderNames.h"
#include "app/WorkAreaPlacement.h"
#include "platform/win32/SystemError.h"

namespace vantrel::app {
namespace {

UniqueFont CreateDesignFont(const FontDesign& design, UINT dpi, const FontMaker& makeFont) {
    UniqueFont created = makeFont(DesignLogFont(design, dpi));
    if (!created) win32::ThrowLastError();
    return created;
}

}  // namespace

UniqueFont MakeFont(const LOGFONTW& font) {
    return UniqueFont(CreateFontIndirectW(&font));
}

FormWindow::FormWindow(HINSTANCE instance, const wchar_t* className, void* creationData,
                       const FontMaker& makeFont) {
    window_.reset(CreateWindowExW(kExtendedStyle, className, texts::kTitle, kStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, creationData));
    if (!window_) win32::ThrowLastError();

    // From here on a failure destroys the window with window_.
    CreateControls(instance);
    SelectPlaceholderWhenEntered(Control(kText1), texts::kPlaceholder);
    const UINT dpi = DpiForWindow(Handle());
    ApplyLayout(dpi, makeFont);
    PlaceCentred(FrameSize(dpi));
}

void FormWindow::FinishAfterFirstPaint(IDropTarget* text1Target) const {
    NameForScreenReaders(Control(kText1), Control(kList1), Control(kLabel1));
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

// On the work area of the primary monitor, where a new window is.
void FormWindow::PlaceCentred(SIZE frame) const {
    RECT wanted{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        const RECT& work = monitor.rcWork;
        wanted.left = work.left + (work.right - work.left - frame.cx) / 2;
        wanted.top = work.top + (work.bottom - work.top - frame.cy) / 2;
    } else if (!GetWindowRect(Handle(), &wanted)) {
        win32::ThrowLastError();  // else the system's default position will do
    }
    wanted.right = wanted.left + frame.cx;
    wanted.bottom = wanted.top + frame.cy;
    if (!MoveOntoWorkAreas(wanted)) win32::ThrowLastError();
}

bool FormWindow::MoveOntoWorkAreas(const RECT& wanted) const {
    const POINT at = PlaceOnWorkAreas(wanted, CurrentWorkAreas());
    return SetWindowPos(Handle(), nullptr, at.x, at.y, wanted.right - wanted.left,
                        wanted.bottom - wanted.top, SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

void FormWindow::KeepOnWorkAreas() const {
    RECT frame{};
    if (IsIconic(Handle()) || !GetWindowRect(Handle(), &frame)) return;
    static_cast<void>(MoveOntoWorkAreas(frame));  // where it cannot move, it stays
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
