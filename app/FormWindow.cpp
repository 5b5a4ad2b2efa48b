#include "app/FormWindow.h"

#include "app/Dpi.h"
#include "app/PlaceholderSelection.h"
#include "platform/win32/SystemError.h"

namespace vantrel::app {
namespace {

UniqueFont CreateDesignFont(const FontDesign& design, UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(design.tenthsOfPoint, static_cast<int>(dpi), 720);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = kFontCharset;
    font.lfQuality = CLEARTYPE_QUALITY;
    wcsncpy_s(font.lfFaceName, design.face, _TRUNCATE);
    UniqueFont created(CreateFontIndirectW(&font));
    if (!created) win32::ThrowLastError();
    return created;
}

}  // namespace

FormWindow::FormWindow(HINSTANCE instance, const wchar_t* className, void* creationData,
                       std::optional<POINT> topLeft, IDropTarget* text1Target) {
    const POINT at = topLeft.value_or(POINT{CW_USEDEFAULT, CW_USEDEFAULT});
    window_.reset(CreateWindowExW(kExtendedStyle, className, texts::kTitle, kStyle, at.x, at.y, 0,
                                  0, nullptr, nullptr, instance, creationData));
    if (!window_) win32::ThrowLastError();

    // From here on a failure destroys the window with window_.
    CreateControls(instance);
    SelectPlaceholderWhenEntered(Control(kText1), texts::kPlaceholder);
    ApplyLayout(DpiForWindow(Handle()));
    if (!topLeft) CenterOnWorkArea();

    win32::ThrowIfFailed(RegisterDragDrop(Control(kText1), text1Target));
    dropRegistered_ = true;
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

FormWindow::~FormWindow() {
    // The registration holds a reference that only revoking gives back.
    if (dropRegistered_ && window_) RevokeDragDrop(Control(kText1));
}

HWND FormWindow::Control(ControlId id) const {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (kControls[i].id == id) return controls_[i];
    }
    return nullptr;
}

void FormWindow::ApplyLayout(UINT dpi) {
    const SIZE client{TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi)};
    const SIZE outer = WindowSizeForClient(client, kStyle, kExtendedStyle, dpi);
    SetWindowPos(Handle(), nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // A font is replaced only once its window has let go of the old one.
    UniqueFont formFont = CreateDesignFont(kFormFont, dpi);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(formFont.get()), FALSE);
    formFont_ = std::move(formFont);
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlDesign& design = kControls[i];
        UniqueFont font = CreateDesignFont(design.font, dpi);
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        fonts_[i] = std::move(font);
        SetWindowPos(controls_[i], nullptr, TwipsToPixels(design.left, dpi),
                     TwipsToPixels(design.top, dpi), TwipsToPixels(design.width, dpi),
                     TwipsToPixels(design.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FormWindow::CenterOnWorkArea() const {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT placed;
    if (!GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor) ||
        !GetWindowRect(Handle(), &placed)) {
        return;  // the system's default position is a fine fallback
    }
    const RECT& work = monitor.rcWork;
    const int width = placed.right - placed.left;
    const int height = placed.bottom - placed.top;
    SetWindowPos(Handle(), nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vantrel::app
