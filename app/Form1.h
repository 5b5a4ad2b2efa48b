#pragma once

#include <windows.h>

#include <wrl/client.h>

#include <functional>
#include <memory>
#include <optional>

#include "app/FormWindow.h"
#include "app/ReadableColour.h"
#include "app/ScopedInitialization.h"
#include "app/Text1DropTarget.h"
#include "platform/Platform.h"
#include "sendto/FormControls.h"
#include "sendto/SendToForm.h"

namespace vantrel::app {

// The program's one window. The object outlives its window: the reload cycle
// replaces the window and its controls while the handlers and `lj` stay.
class Form1 final : public FormControls {
  public:
    static constexpr wchar_t kClassName[] = L"VantrelForm1";

    // Needs COM initialized on this thread; initializes OLE itself once the window has
    // painted, for drops. `highContrastOn` says whether the user's scheme is High Contrast.
    Form1(HINSTANCE instance, Platform& platform, FontMaker makeFont = MakeFont,
          MonitorLookup monitors = CurrentMonitors,
          std::function<bool()> highContrastOn = HighContrastOn);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Creates the window hidden and runs its load event; throws vantrel::Error.
    void Load();
    // The first show, with the show state the program was started with.
    void Show(int showCommand);
    // The current window, or null once the user has closed it.
    HWND Window() const { return window_ ? window_->Handle() : nullptr; }
    // The window to own a message box about to open, or null. It notes its focus
    // first: the box disables it, which takes the focus before it could be noted.
    HWND MessageOwner();

    std::wstring Text1Text() const override;
    void SetText1Text(const std::wstring& text) override;
    void Text1SetFocus() override;
    void List1Fill(const std::vector<std::wstring>& items) override;
    int List1ListIndex() const override;
    std::wstring List1Item(int index) const override;
    void Reload() override;

  private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void OnCommand(int id, int notification);
    LRESULT OnControlColor(HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam) const;
    LRESULT OnEraseBackground(HWND window, HDC dc) const;
    void OnColoursChanged(HWND window, WPARAM wParam, LPARAM lParam);
    bool OnSetCursor(HWND over);
    void OnActivate(HWND window, bool active);
    void OnSetFocus(HWND window);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    static void OnDestroy(HWND window);
    void OnNcDestroy(HWND window);
    void QueueDrop(DroppedFiles files);
    void OnDropArrived();

    // Runs an event handler; a failure it lets out is shown, never unwound through Windows.
    // One at a time: a click that reaches the window while a handler's message box is
    // open (BM_CLICK from another program) is dropped, not run inside the first.
    template <typename Handler>
    void RunHandler(Handler&& handler);

    HWND Control(ControlId id) const { return window_->Control(id); }

    std::unique_ptr<FormWindow> CreateFormWindow();
    // Brings a shown window to the front with the focus in Text1; a minimized
    // one waits for the user to restore it.
    void Activate();
    // Lets Text1 take drops once the window has painted; a failure is shown, and the
    // window works on without drops.
    void FinishAfterFirstPaint();
    void OnPainted();

    // Posted by a drop, so that its handler runs after the drop has returned.
    static constexpr UINT kDropArrived = WM_APP + 1;
    static constexpr UINT_PTR kAfterFirstPaint = 1;

    HINSTANCE instance_;
    Platform& platform_;
    FontMaker makeFont_;
    MonitorLookup monitors_;
    std::function<bool()> highContrastOn_;
    SendToForm logic_;
    // Before the window, which revokes Text1's drops while OLE is still up.
    std::optional<ScopedOle> ole_;
    Microsoft::WRL::ComPtr<Text1DropTarget> text1DropTarget_;
    std::unique_ptr<FormWindow> window_;
    std::optional<DroppedFiles> pendingDrop_;
    bool handlerRunning_ = false;
    // Read at the start and again when the user changes it, not at every paint.
    bool highContrast_;
    // Between WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE: the user drags the window.
    bool movingOrSizing_ = false;
};

}  // namespace vantrel::app
