#pragma once

#include <windows.h>

#include <span>
#include <vector>

namespace vantrel::app {

// Where a window of `frame` goes among the monitors' work areas `workAreas`. A corner
// that lies on one of them stays, so the caption is within reach wherever the rest of
// the window lies; one off every work area moves onto the nearest, as little as needed
// for the window to fit there, and never above or left of it on a screen too small.
POINT PlaceOnWorkAreas(const RECT& frame, std::span<const RECT> workAreas);

// The work areas of the monitors attached now; none when they cannot be read.
std::vector<RECT> CurrentWorkAreas();

}  // namespace vantrel::app
