#pragma once

#include <windows.h>

namespace vantrel::app {

// The text colour to draw with on `background`. The design's `wanted` colour stands
// unless it is practically invisible there (a WCAG 2 contrast ratio below 1.5:1); the
// rescue is the scheme's `windowText` where it reads well (4.5:1), else black or white,
// whichever contrasts more.
COLORREF ReadableTextColour(COLORREF wanted, COLORREF background, COLORREF windowText);

// Whether the user has a High Contrast scheme on.
bool HighContrastOn();

}  // namespace vantrel::app
