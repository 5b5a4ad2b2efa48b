#pragma once

#include <functional>
#include <vector>

#include "bench/window/Samples.h"
#include "bench/window/SendToFiles.h"
#include "bench/window/StartupMeasure.h"

namespace vantrel::bench {

// One program's start-ups with a few files and with many.
struct ProgramStarts {
    TimedProgram program;
    Samples few, many;
};

// Starts each program `runs` times with each folder. Interleaved, in a turning
// order, so a burst of load hits every program alike and none always follows the
// same one; each program's first start only warms up. `beforeRun` hears of each run.
void MeasureInterleavedStarts(int runs, std::vector<ProgramStarts>& programs,
                              const SendToFiles& few, const SendToFiles& many,
                              const std::function<void(int run)>& beforeRun = {});

}  // namespace vantrel::bench
