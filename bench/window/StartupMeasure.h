#pragma once

#include <windows.h>

#include <string>

#include "tests/e2e/ChildEnvironment.h"

namespace vantrel::bench {

// A program whose start is timed: its exe, its main window's class and its list box's id.
struct TimedProgram {
    std::wstring exe;
    std::wstring windowClass;
    int listId;
};

struct StartMeasurement {
    double milliseconds;    // from just before CreateProcessW to the window shown and filled
    SIZE_T peakWorkingSet;  // bytes, read once the window is filled
};

// Starts `program` and waits until its main window is visible with `items` items
// in its list box; the program is closed again before returning. Throws when the
// window does not come.
StartMeasurement MeasureStart(const TimedProgram& program,
                              const testing::ChildEnvironment& environment, int items);

}  // namespace vantrel::bench
