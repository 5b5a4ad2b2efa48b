#pragma once

#include <windows.h>

#include <ole2.h>

#include <array>
#include <functional>
#include <memory>

#include "app/Layout.h"
#include "app/WorkAreaPlacement.h"

namespace vantrel::app {

struct FontDeleter {
    void operator()(HFONT font) const noexcept { DeleteObject(font); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// Makes each font of the window; null with the last error set on failure.
using FontMaker = std::function<UniqueFont(const LOGFONTW&)>;
UniqueFont MakeFont(const LOGFONTW& font);

struct WindowDestroyer {
    void operator()(HWND window) const noexcept { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// One instance of the main window and its controls, laid out from the design
// table at the window's DPI. Destroying the object destroys the window.
class FormWindow {
  public:
    // Creates the window hidden, its controls named for screen readers, centred on the
    // work area of the monitor Windows made it on and laid out at that monitor's DPI.
    // Text1 takes drops only once AcceptDropsOnText1 has run; the window procedure
    // revokes them when the window is destroyed (WM_DESTROY).
    FormWindow(HINSTANCE instance, const wchar_t* className, void* creationData,
               const FontMaker& makeFont, const MonitorLookup& monitors);
    ~FormWindow() = default;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND Handle() const { return window_.get(); }
    HWND Control(ControlId id) const;

    // Fonts and places every control for `dpi`. Every font is made before any is
    // used: on failure this throws and the controls keep their fonts and places.
    void ApplyLayout(UINT dpi, const FontMaker& makeFont);
    // The outer size of the window whose client area is the design's at `dpi`.
    static SIZE FrameSize(UINT dpi);

    // Moves and sizes the window to `wanted`, with its corner on a monitor's work area
    // (PlaceOnWorkAreas); false with the last error set when it cannot be moved.
    bool MoveOntoWorkAreas(const RECT& wanted, const MonitorLookup& monitors) const;
    // Keeps a window that is not minimized where it is, unless its corner is off every
    // work area (a monitor gone, the screen made smaller).
    void KeepOnWorkAreas(const MonitorLookup& monitors) const;
    // Gives a minimized window the restored frame `frame`, leaving it minimized;
    // false with the last error set when it cannot.
    bool SizeRestoredFrame(SIZE frame) const;

    // Lets Text1 take drops, which the first paint does not need. Throws vantrel::Error
    // when it cannot.
    void AcceptDropsOnText1(IDropTarget* text1Target) const;

    // As a dialog box does: the control with the focus is noted when the window
    // loses it, and gets it back (Text1 when none was noted, or when the noted one
    // is no longer the window's) when it returns.
    void RememberFocus();
    void RestoreFocus();

    // Forgets a window that the system has already destroyed.
    void Release() { static_cast<void>(window_.release()); }

    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    static constexpr DWORD kExtendedStyle = 0;

  private:
    void CreateControls(HINSTANCE instance);
    // Lays the window out and centres it for the monitor it was made on.
    void PlaceCentred(const FontMaker& makeFont, const MonitorLookup& monitors);

    // Declared before the window, so they are deleted only after it is destroyed.
    std::array<UniqueFont, kControls.size()> fonts_;
    std::array<HWND, kControls.size()> controls_{};
    HWND focused_ = nullptr;
    UniqueWindow window_;
};

}  // namespace vantrel::app
