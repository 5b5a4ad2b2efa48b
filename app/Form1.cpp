#include "app/Form1.h"

#include <exception>
#include <utility>

#include "app/SchemeColours.h"
#include "app/ScreenReaderNames.h"
#include "app/ShowCommand.h"
#include "app/WindowText.h"
#include "platform/Error.h"
#include "platform/win32/SystemError.h"
#include "sendto/ErrorText.h"

namespace vantrel::app {
namespace {

void RegisterFormClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // A system colour index, so the colour follows the user's scheme when drawn.
    windowClass.hbrBackground =
        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INACTIVECAPTION + 1));
    windowClass.lpszClassName = Form1::kClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        win32::ThrowLastError();
    }
}

// A part's colours; the design's text colour only where it can be seen. High Contrast
// pairs are drawn as the theme gives them.
LRESULT UseColours(HDC dc, ColouredPart part, bool highContrast) {
    const SystemColourPair pair = SchemeColours(part, highContrast);
    const COLORREF text = GetSysColor(pair.text);
    const COLORREF background = GetSysColor(pair.background);
    SetTextColor(dc, highContrast
                         ? text
                         : ReadableTextColour(text, background, GetSysColor(COLOR_WINDOWTEXT)));
    SetBkColor(dc, background);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(pair.background));
}

}  // namespace

Form1::Form1(HINSTANCE instance, Platform& platform, FontMaker makeFont, MonitorLookup monitors,
             std::function<bool()> highContrastOn)
    : instance_(instance),
      platform_(platform),
      makeFont_(std::move(makeFont)),
      monitors_(std::move(monitors)),
      highContrastOn_(std::move(highContrastOn)),
      logic_(platform, *this),
      highContrast_(highContrastOn_()) {
    RegisterFormClass(instance, &Form1::WindowProcedure);
    text1DropTarget_.Attach(
        new Text1DropTarget([this](DroppedFiles files) { QueueDrop(std::move(files)); }));
}

// reset() lets go of the window before destroying it, so its end is not taken for
// the user's closing it: that would post WM_QUIT and end a message box shown next.
Form1::~Form1() {
    window_.reset();
}

std::unique_ptr<FormWindow> Form1::CreateFormWindow() {
    return std::make_unique<FormWindow>(instance_, kClassName, this, makeFont_, monitors_);
}

void Form1::Load() {
    window_ = CreateFormWindow();
    try {
        logic_.Form_Load();
    } catch (...) {
        window_.reset();  // a window that failed to load is never shown
        throw;
    }
}

void Form1::Show(int showCommand) {
    const HWND window = window_->Handle();
    ShowWindow(window, WithoutMaximize(showCommand));
    // Windows may take the first show's state from the starting program instead; maximized
    // in place (WM_GETMINMAXINFO), the restore changes no pixel.
    if (IsZoomed(window)) ShowWindow(window, SW_RESTORE);
    FinishAfterFirstPaint();
    if (Activates(showCommand)) Activate();
}

// A timer's message comes only once nothing is left to paint: the window shows before
// the work its first paint does not need.
void Form1::FinishAfterFirstPaint() {
    if (!SetTimer(window_->Handle(), kAfterFirstPaint, USER_TIMER_MINIMUM, nullptr)) OnPainted();
}

// OLE only now: the first paint needs none of it. Started once a run, and a failure is
// told once: each reload's window works on without drops, in silence.
void Form1::OnPainted() {
    RunHandler([this] {
        if (!ole_) {
            ole_.emplace();
            win32::ThrowIfFailed(ole_->Result());
        }
        if (SUCCEEDED(ole_->Result())) window_->AcceptDropsOnText1(text1DropTarget_.Get());
    });
}

void Form1::Activate() {
    const HWND window = window_->Handle();
    if (IsIconic(window) || !IsWindowVisible(window)) return;
    SetForegroundWindow(window);
    SetFocus(Control(kText1));
}

HWND Form1::MessageOwner() {
    if (!window_) return nullptr;
    window_->RememberFocus();
    return window_->Handle();
}

void Form1::Reload() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window_->Handle(), &placement)) win32::ThrowLastError();

    // The new window is loaded before the old one goes, so a failed load leaves
    // the user the window they had and nothing flashes.
    auto previous = std::exchange(window_, CreateFormWindow());
    try {
        logic_.Form_Load();
    } catch (...) {
        window_ = std::move(previous);
        throw;
    }
    // Where the user had the window and in its state: a minimized window stays
    // so, and restoring it brings it back to its place, not to the icon's.
    placement.flags = 0;
    placement.showCmd = static_cast<UINT>(WithoutMaximize(static_cast<int>(placement.showCmd)));
    if (!SetWindowPlacement(window_->Handle(), &placement)) {
        ShowWindow(window_->Handle(), SW_SHOWNORMAL);  // its place is lost, the window is not
    }
    window_->KeepOnWorkAreas(monitors_);
    FinishAfterFirstPaint();
    Activate();
}

std::wstring Form1::Text1Text() const {
    return WindowText(Control(kText1));
}

void Form1::SetText1Text(const std::wstring& text) {
    if (!SetWindowTextW(Control(kText1), text.c_str())) win32::ThrowLastError();
}

void Form1::Text1SetFocus() {
    SetFocus(Control(kText1));
}

void Form1::List1Fill(const std::vector<std::wstring>& items) {
    const HWND list = Control(kList1);
    std::size_t characters = 0;
    for (const auto& item : items) characters += item.size() + 1;

    // One redraw for the whole fill, with storage reserved up front.
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    SendMessageW(list, LB_INITSTORAGE, items.size(),
                 static_cast<LPARAM>(characters * sizeof(wchar_t)));
    LRESULT added = 0;
    for (const auto& item : items) {
        added = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        if (added < 0) break;
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    if (added < 0) win32::ThrowSystemError(ERROR_NOT_ENOUGH_MEMORY);
}

int Form1::List1ListIndex() const {
    return static_cast<int>(SendMessageW(Control(kList1), LB_GETCURSEL, 0, 0));
}

std::wstring Form1::List1Item(int index) const {
    const HWND list = Control(kList1);
    // The list box takes the index as a WPARAM; a negative one stays invalid there.
    const auto item = static_cast<WPARAM>(index);
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, item, 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

template <typename Handler>
void Form1::RunHandler(Handler&& handler) {
    if (handlerRunning_) return;
    handlerRunning_ = true;
    struct Done {
        bool& running;
        explicit Done(bool& flag) : running(flag) {}
        ~Done() { running = false; }
        Done(const Done&) = delete;
        Done& operator=(const Done&) = delete;
    } const done(handlerRunning_);
    try {
        handler();
    } catch (const Error& e) {
        try {
            platform_.ShowMessage(ErrorText(e));
        } catch (...) {
        }
    } catch (const std::exception&) {
        try {
            platform_.ShowMessage(texts::kUnexpectedFailure);
        } catch (...) {
        }
    }
}

LRESULT CALLBACK Form1::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // The handlers show their own failures; nothing may unwind through Windows' frames.
    try {
        if (form) return form->HandleMessage(window, message, wParam, lParam);
    } catch (...) {
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Form1::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Messages that reach a window being created or replaced go to the default.
    const bool current = window_ && window_->Handle() == window;
    switch (message) {
        case WM_COMMAND:
            if (current) OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case kDropArrived:
            if (current) OnDropArrived();
            return 0;
        case WM_TIMER:
            // After a click's handler, should one run: its window may be about to go.
            if (wParam != kAfterFirstPaint || handlerRunning_) break;
            KillTimer(window, kAfterFirstPaint);
            if (current) OnPainted();
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
            return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                  message, wParam, lParam);
        case WM_ERASEBKGND:
            return OnEraseBackground(window, reinterpret_cast<HDC>(wParam));
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETHIGHCONTRAST) OnColoursChanged(window, wParam, lParam);
            break;
        case WM_SYSCOLORCHANGE:
            OnColoursChanged(window, wParam, lParam);
            break;
        case WM_GETMINMAXINFO:
            MaximizeInPlace(window, *reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_ENTERSIZEMOVE:
            movingOrSizing_ = true;
            break;
        case WM_EXITSIZEMOVE:
            movingOrSizing_ = false;
            break;
        case WM_SETCURSOR:
            if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
            break;
        // Minimizing or hiding may move the focus before the deactivation arrives.
        case WM_SYSCOMMAND:
            if (current && (wParam & 0xFFF0) == SC_MINIMIZE) window_->RememberFocus();
            break;
        case WM_SHOWWINDOW:
            if (current && !wParam) window_->RememberFocus();
            break;
        // The default for both would leave the focus on the frame.
        case WM_ACTIVATE:
            if (!current) break;
            OnActivate(window, LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_SETFOCUS:
            if (!current) break;
            OnSetFocus(window);
            return 0;
        case WM_GETDPISCALEDSIZE:
            *reinterpret_cast<SIZE*>(lParam) = FormWindow::FrameSize(static_cast<UINT>(wParam));
            return TRUE;
        case WM_DPICHANGED:
            if (current) OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DESTROY:
            OnDestroy(window);
            break;
        case WM_NCDESTROY:
            OnNcDestroy(window);
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Form1::OnCommand(int id, int notification) {
    switch (id) {
        case kCommand1:
            if (notification == BN_CLICKED) RunHandler([this] { logic_.Command1_Click(); });
            break;
        case kCommand2:
            if (notification == BN_CLICKED) RunHandler([this] { logic_.Command2_Click(); });
            break;
        case kLabel1:
            if (notification == STN_CLICKED) RunHandler([this] { logic_.Label1_Click(); });
            break;
    }
}

// The colours are looked up at every paint, so a scheme changed while the window is
// open is followed.
LRESULT Form1::OnControlColor(HDC dc, HWND control, UINT message, WPARAM wParam,
                              LPARAM lParam) const {
    const int id = GetDlgCtrlID(control);
    if (id == kLabel1) return UseColours(dc, ColouredPart::Label1, highContrast_);
    if (id == kList1) return UseColours(dc, ColouredPart::List1, highContrast_);
    // Under High Contrast the buttons are drawn as the theme draws them.
    if ((id == kCommand1 || id == kCommand2) && !highContrast_) {
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_ACTIVECAPTION));
    }
    return DefWindowProcW(GetParent(control), message, wParam, lParam);
}

LRESULT Form1::OnEraseBackground(HWND window, HDC dc) const {
    RECT client{};
    if (!GetClientRect(window, &client)) return FALSE;
    const int background = SchemeColours(ColouredPart::Window, highContrast_).background;
    return FillRect(dc, &client, GetSysColorBrush(background)) ? TRUE : FALSE;
}

// A new scheme: the controls hear of it as the common controls expect, and every part
// is drawn again in its colours.
void Form1::OnColoursChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    highContrast_ = highContrastOn_();
    for (const ControlDesign& control : kControls) {
        SendMessageW(GetDlgItem(window, control.id), WM_SYSCOLORCHANGE, wParam, lParam);
    }
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool Form1::OnSetCursor(HWND over) {
    if (!window_ || over != Control(kLabel1)) return false;
    SetCursor(LoadCursorW(nullptr, IDC_HELP));
    return true;
}

void Form1::OnActivate(HWND window, bool active) {
    if (!active) {
        window_->RememberFocus();
    } else if (!IsIconic(window)) {
        window_->RestoreFocus();
    }
}

void Form1::OnSetFocus(HWND window) {
    if (!IsIconic(window)) window_->RestoreFocus();
}

void Form1::OnDpiChanged(UINT dpi, const RECT& suggested) {
    try {
        window_->ApplyLayout(dpi, makeFont_);
    } catch (const std::exception&) {
        return;  // the window stays as it was, at its old size, and still works
    }
    const SIZE frame = FormWindow::FrameSize(dpi);
    // A minimized window is not moved: its icon's place is off every screen. It comes
    // back from the minimize at the new size.
    if (IsIconic(window_->Handle())) {
        static_cast<void>(window_->SizeRestoredFrame(frame));
        return;
    }
    // While the user drags the window across monitors the suggested rectangle is taken as
    // it is, so the window stays under the pointer. Otherwise the suggested corner with the
    // frame for the new DPI, in one move, with the caption within reach.
    const RECT wanted{suggested.left, suggested.top, suggested.left + frame.cx,
                      suggested.top + frame.cy};
    if (movingOrSizing_) {
        SetWindowPos(window_->Handle(), nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        static_cast<void>(window_->MoveOntoWorkAreas(wanted, monitors_));
    }
}

// While Text1 still exists: the registration holds the drop target until revoked.
void Form1::OnDestroy(HWND window) {
    // Fails only for a window whose load ended before Text1 took drops.
    static_cast<void>(RevokeDragDrop(GetDlgItem(window, kText1)));
    ForgetScreenReaderNames(GetDlgItem(window, kText1), GetDlgItem(window, kList1),
                            GetDlgItem(window, kLabel1));
}

void Form1::OnNcDestroy(HWND window) {
    if (!window_ || window_->Handle() != window) return;  // a replaced window
    window_->Release();
    PostQuitMessage(0);
}

void Form1::QueueDrop(DroppedFiles files) {
    if (!window_) return;
    pendingDrop_ = std::move(files);
    // A full queue loses the drop: nothing may wait on the user inside it to say so.
    if (!PostMessageW(window_->Handle(), kDropArrived, 0, 0)) pendingDrop_.reset();
}

void Form1::OnDropArrived() {
    if (!pendingDrop_) return;
    const DroppedFiles files = std::move(*pendingDrop_);
    pendingDrop_.reset();
    RunHandler([&] { logic_.Text1_OLEDragDrop(files); });
}

}  // namespace vantrel::app
