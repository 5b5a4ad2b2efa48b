#pragma once

#include <cstdint>

namespace vantrel::app {

// The parts of the window drawn in colours of their own; the buttons keep the scheme's.
enum class ColouredPart : std::uint8_t { Window, List1, Label1 };

// System colour indices (COLOR_*) of a part's text and background.
struct SystemColourPair {
    int text;
    int background;
};

// The design's pair, or under High Contrast only pairs that contrast themes promise:
// window text on the window colour, and the hyperlink colour on it for Label1.
SystemColourPair SchemeColours(ColouredPart part, bool highContrast);

}  // namespace vantrel::app
