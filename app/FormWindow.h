#pragma once

#include <windows.h>

#include <ole2.h>

#include <array>
#include <memory>
#include <optional>

#include "app/Layout.h"

namespace vantrel::app {

struct FontDeleter {
    void operator()(HFONT font) const noexcept { DeleteObject(font); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

struct WindowDestroyer {
    void operator()(HWND window) const noexcept { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// One instance of the main window and its controls, laid out from the design
// table at the window's DPI. Destroying the object destroys the window.
class FormWindow {
  public:
    // Creates the window hidden, at `topLeft` or centred on the work area, with
    // `text1Target` taking the drops on Text1.
    FormWindow(HINSTANCE instance, const wchar_t* className, void* creationData,
               std::optional<POINT> topLeft, IDropTarget* text1Target);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND Handle() const { return window_.get(); }
    HWND Control(ControlId id) const;

    // Sizes the window and places and fonts every control for `dpi`.
    void ApplyLayout(UINT dpi);

    // Forgets a window that the system has already destroyed.
    void Release() { static_cast<void>(window_.release()); }

    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    static constexpr DWORD kExtendedStyle = 0;

  private:
    void CreateControls(HINSTANCE instance);
    void CenterOnWorkArea() const;

    // Declared before the window, so they are deleted only after it is destroyed.
    UniqueFont formFont_;
    std::array<UniqueFont, kControls.size()> fonts_;
    std::array<HWND, kControls.size()> controls_{};
    bool dropRegistered_ = false;
    UniqueWindow window_;
};

}  // namespace vantrel::app
