#pragma once

#include <windows.h>

#include <array>

#include "sendto/Texts.h"

namespace vantrel::app {

// Design units are twips: 1440 to the inch, 15 to the pixel at 96 DPI.
inline int TwipsToPixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

inline constexpr int kClientWidth = 12330;
inline constexpr int kClientHeight = 7125;

struct FontDesign {
    const wchar_t* face;
    int tenthsOfPoint;
};

inline constexpr BYTE kFontCharset = GB2312_CHARSET;  // 134
inline constexpr FontDesign kFormFont{L"微软雅黑", 90};

// A design font at `dpi`, as CreateFontIndirectW takes it.
inline LOGFONTW DesignLogFont(const FontDesign& design, UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(design.tenthsOfPoint, static_cast<int>(dpi), 720);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = kFontCharset;
    font.lfQuality = CLEARTYPE_QUALITY;
    wcsncpy_s(font.lfFaceName, LF_FACESIZE, design.face, _TRUNCATE);
    return font;
}

enum ControlId : int { kText1 = 101, kCommand1, kCommand2, kList1, kLabel1 };

struct ControlDesign {
    ControlId id;
    const wchar_t* className;
    DWORD style;
    DWORD extendedStyle;
    int left, top, width, height;  // twips, client coordinates
    const wchar_t* text;
    FontDesign font;
};

// In tab order. The folder listing (File1) is not a window: it is the platform's
// file listing, never shown.
inline constexpr std::array<ControlDesign, 5> kControls{{
    {kText1,
     L"EDIT",
     WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
     WS_EX_CLIENTEDGE,
     360,
     480,
     9855,
     525,
     texts::kPlaceholder,
     {L"微软雅黑", 105}},
    {kCommand1, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, 10560, 480, 1335, 495,
     texts::kCommand1Caption, kFormFont},
    {kCommand2, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, 360, 6000, 6495, 735,
     texts::kCommand2Caption, kFormFont},
    {kList1,
     L"LISTBOX",
     WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
     WS_EX_CLIENTEDGE,
     360,
     1680,
     11535,
     4080,
     L"",
     {L"微软雅黑", 150}},
    {kLabel1,
     L"STATIC",
     SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX,
     0,
     8760,
     6360,
     3255,
     375,
     texts::kLabel1Caption,
     {L"微软雅黑", 120}},
}};

}  // namespace vantrel::app
