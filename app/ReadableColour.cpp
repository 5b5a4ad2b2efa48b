#include "app/ReadableColour.h"

#include <algorithm>
#include <cmath>

namespace vantrel::app {
namespace {

// Relative luminance of an sRGB colour, as WCAG 2 defines it.
double Luminance(COLORREF colour) {
    const auto linear = [](BYTE channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(colour)) + 0.7152 * linear(GetGValue(colour)) +
           0.0722 * linear(GetBValue(colour));
}

double Contrast(COLORREF a, COLORREF b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every default Windows scheme gives the design's pairs more than this (the link's
// highlight on the inactive caption: 1.8:1 on Windows 7, 2.8:1 on Windows 10 and 11).
constexpr double kVisible = 1.5;
constexpr double kReadsWell = 4.5;

}  // namespace

COLORREF ReadableTextColour(COLORREF wanted, COLORREF background, COLORREF windowText) {
    if (Contrast(wanted, background) >= kVisible) return wanted;
    if (Contrast(windowText, background) >= kReadsWell) return windowText;
    constexpr COLORREF kBlack = RGB(0, 0, 0);
    constexpr COLORREF kWhite = RGB(255, 255, 255);
    return Contrast(kBlack, background) >= Contrast(kWhite, background) ? kBlack : kWhite;
}

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace vantrel::app
