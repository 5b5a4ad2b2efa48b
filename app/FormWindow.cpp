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
                       const FontMaker& makeFont, const MonitorLookup& monitors) {
    window_.reset(CreateWindowExW(kExtendedStyle, className, texts::kTitle, kStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, creationData));
    if (!window_) win32::ThrowLastError();

    // From here on a failure destroys the window with window_.
    CreateControls(instance);
    // Before the window is shown: showing it puts the focus in Text1, and a screen reader
    // asks for its name at once.
    NameForScreenReaders(Control(kText1), Control(kList1), Control(kLabel1));
    SelectPlaceholderWhenEntered(Control(kText1), texts::kPlaceholder);
    PlaceCentred(makeFont, monitors);
}

void FormWindow::AcceptDropsOnText1(IDropTarget* text1Target) const {
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

// Windows makes the window on the monitor the program was started from; a window of no
// size touches no monitor, so it is the corner that tells which. Laid out once, at the
// DPI of the monitor it is shown on: a DPI change before it is shown would not be heard.
void FormWindow::PlaceCentred(const FontMaker& makeFont, const MonitorLookup& monitors) {
    RECT created{};
    if (!GetWindowRect(Handle(), &created)) win32::ThrowLastError();
    const CentredFrame placed = CentreOnMonitor({created.left, created.top}, monitors(),
                                                DpiForWindow(Handle()), &FrameSize);
    ApplyLayout(placed.dpi, makeFont);
    const RECT& frame = placed.frame;
    if (!SetWindowPos(Handle(), nullptr, frame.left, frame.top, frame.right - frame.left,
                      frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE)) {
        win32::ThrowLastError();
    }
}

bool FormWindow::MoveOntoWorkAreas(const RECT& wanted, const MonitorLookup& monitors) const {
    const POINT at = PlaceOnWorkAreas(wanted, monitors());
    return SetWindowPos(Handle(), nullptr, at.x, at.y, wanted.right - wanted.left,
                        wanted.bottom - wanted.top, SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

void FormWindow::KeepOnWorkAreas(const MonitorLookup& monitors) const {
    RECT frame{};
    if (IsIconic(Handle()) || !GetWindowRect(Handle(), &frame)) return;
    static_cast<void>(MoveOntoWorkAreas(frame, monitors));  // where it cannot move, it stays
}

// The restored frame keeps its corner; its coordinates are the work area's, which the
// size does not care about.
bool FormWindow::SizeRestoredFrame(SIZE frame) const {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(Handle(), &placement)) return false;
    RECT& restored = placement.rcNormalPosition;
    restored.right = restored.left + frame.cx;
    restored.bottom = restored.top + frame.cy;
    placement.showCmd = SW_SHOWMINNOACTIVE;
    return SetWindowPlacement(Handle(), &placement) != FALSE;
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
