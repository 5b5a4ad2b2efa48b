#pragma once

#include <windows.h>

namespace vantrel::app {

// The text colour to draw with on `background`: the design's `wanted` colour where it
// reads (a WCAG 2 contrast ratio of at least 3:1), else `fallback`, which under High
// Contrast always wins: there the user's scheme is the one pair that reads.
COLORREF ReadableTextColour(COLORREF wanted, COLORREF background, COLORREF fallback,
                            bool highContrast);

// Whether the user has a High Contrast scheme on.
bool HighContrastOn();

}  // namespace vantrel::app
