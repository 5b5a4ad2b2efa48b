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

constexpr double kLeastContrast = 3.0;

}  // namespace

COLORREF ReadableTextColour(COLORREF wanted, COLORREF background, COLORREF fallback,
                            bool highContrast) {
    if (highContrast) return fallback;
    const double a = Luminance(wanted);
    const double b = Luminance(background);
    const double ratio = (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
    return ratio >= kLeastContrast ? wanted : fallback;
}

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace vantrel::app
