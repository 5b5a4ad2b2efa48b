#pragma once

#include <string>
#include <vector>

namespace vantrel::bundle {

// What a report from a real Windows tells of Vantrel's start there, one line each:
// whether the DLLs it loads on first use are loaded anyway once its window is idle,
// and its start-up against the same-job floor (medians of `runs` interleaved runs).
// VANTREL_EXE and VANTREL_SAME_JOB_FLOOR_EXE name the programs. Never throws: a
// measurement that fails says so in its line.
std::vector<std::wstring> StartupLines(int runs);

}  // namespace vantrel::bundle
