#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/Layout.h"
#include "sendto/Texts.h"

namespace vantrel::testing {

// A rectangle as the design gives it: its top-left corner and its size.
struct Box {
    int left, top, width, height;
    bool operator==(const Box&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << "{" << box.left << ", " << box.top << ", " << box.width << " x " << box.height
               << "}";
}

inline Box BoxOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// Design units at `dpi`, each value on its own, as the layout converts them.
inline Box ScaledTwips(const Box& twips, UINT dpi) {
    const auto scale = [dpi](int value) { return MulDiv(value, static_cast<int>(dpi), 1440); };
    return {scale(twips.left), scale(twips.top), scale(twips.width), scale(twips.height)};
}

// The window's design, written out here independently of the program's own table,
// so that a wrong value in either shows up.
struct ControlDesignCase {
    const char* name;
    int id;
    const wchar_t* className;
    Box twips;     // in the client area
    Box pixels96;  // the same at 96 DPI, as the design gives it
    int tenthsOfPoint;
    std::wstring text;
};

inline void PrintTo(const ControlDesignCase& control, std::ostream* out) {
    *out << control.name;
}

inline const std::vector<ControlDesignCase>& DesignedControls() {
    static const std::vector<ControlDesignCase> controls = {
        {"Text1",
         app::kText1,
         L"Edit",
         {360, 480, 9855, 525},
         {24, 32, 657, 35},
         105,
         L"直接拖拽文件夹、exe或快捷方式至此"},
        {"Command1",
         app::kCommand1,
         L"Button",
         {10560, 480, 1335, 495},
         {704, 32, 89, 33},
         90,
         L"确定添加"},
        {"Command2",
         app::kCommand2,
         L"Button",
         {360, 6000, 6495, 735},
         {24, 400, 433, 49},
         90,
         L"删除"},
        {"List1", app::kList1, L"ListBox", {360, 1680, 11535, 4080}, {24, 112, 769, 272}, 150, L""},
        {"Label1",
         app::kLabel1,
         L"Static",
         {8760, 6360, 3255, 375},
         {584, 424, 217, 25},
         120,
         std::wstring(L"Pelgrin软件：").append(texts::kMakerHost)},
    };
    return controls;
}

inline constexpr wchar_t kDesignedFace[] = L"微软雅黑";
inline constexpr SIZE kClientTwips{12330, 7125};

// The window's client area against the design's at the window's DPI.
inline Box ClientBox(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return BoxOf(client);
}
inline Box DesignedClientBox(UINT dpi) {
    return ScaledTwips({0, 0, kClientTwips.cx, kClientTwips.cy}, dpi);
}

// The design's frame: a fixed border and a caption with the system menu and the
// minimize box, around the designed client area, as the system sizes it at `dpi`.
inline constexpr DWORD kDesignedFrameStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
inline SIZE DesignedFrame(UINT dpi) {
    const Box client = DesignedClientBox(dpi);
    RECT frame{0, 0, client.width, client.height};
    if (!AdjustWindowRectExForDpi(&frame, kDesignedFrameStyle, FALSE, 0, dpi)) return {};
    return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace vantrel::testing
