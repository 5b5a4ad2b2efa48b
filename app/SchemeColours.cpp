#include "app/SchemeColours.h"

#include <windows.h>

namespace vantrel::app {

SystemColourPair SchemeColours(ColouredPart part, bool highContrast) {
    switch (part) {
        case ColouredPart::Window:
            return highContrast ? SystemColourPair{COLOR_WINDOWTEXT, COLOR_WINDOW}
                                : SystemColourPair{COLOR_WINDOWTEXT, COLOR_INACTIVECAPTION};
        case ColouredPart::List1:
            return highContrast ? SystemColourPair{COLOR_WINDOWTEXT, COLOR_WINDOW}
                                : SystemColourPair{COLOR_BACKGROUND, COLOR_WINDOW};
        case ColouredPart::Label1:
            return highContrast ? SystemColourPair{COLOR_HOTLIGHT, COLOR_WINDOW}
                                : SystemColourPair{COLOR_HIGHLIGHT, COLOR_INACTIVECAPTION};
    }
    return {COLOR_WINDOWTEXT, COLOR_WINDOW};
}

}  // namespace vantrel::app
