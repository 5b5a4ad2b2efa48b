// Start-ups of several builds of Vantrel, interleaved in one run, so a change can
// be measured against the build before it under the same conditions.
// Usage: vantrel_start_compare runs exe...; prints each build's start-up with
// 20 and 10,000 files as medians with their spread. With VANTREL_SAME_JOB_FLOOR_EXE
// set, the same-job floor takes its turns too.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "app/Layout.h"
#include "bench/window/FloorWindow.h"
#include "bench/window/InterleavedStarts.h"
#include "bench/window/Report.h"
#include "tests/e2e/VantrelProcess.h"
#include "tests/windows/EnvironmentValue.h"

namespace vantrel::bench {
namespace {

std::string Narrow(const std::wstring& text) {
    return {text.begin(), text.end()};  // exe paths here are ASCII
}

int Run(int runs, std::vector<ProgramStarts>& builds) {
    const SendToFiles few(20);
    const SendToFiles many(10000);
    MeasureInterleavedStarts(runs, builds, few, many, [runs](int run) {
        std::fprintf(stderr, "run %d of %d\n", run + 1, runs);
    });

    std::vector<std::pair<std::string, const Samples*>> series;
    for (const ProgramStarts& build : builds) {
        const std::string name = Narrow(build.program.exe);
        series.emplace_back(name + ", 20 files (ms)", &build.few);
        series.emplace_back(name + ", 10,000 files (ms)", &build.many);
    }
    PrintSpread(series);
    return 0;
}

}  // namespace
}  // namespace vantrel::bench

int wmain(int argc, wchar_t* argv[]) {
    const int runs = argc > 2 ? _wtoi(argv[1]) : 0;
    if (runs < 1) {
        std::fprintf(stderr, "usage: vantrel_start_compare runs exe...\n");
        return 2;
    }
    try {
        std::vector<vantrel::bench::ProgramStarts> builds;
        if (!vantrel::testing::EnvironmentValue(L"VANTREL_SAME_JOB_FLOOR_EXE").empty()) {
            builds.push_back({{vantrel::testing::ExeNamedBy(L"VANTREL_SAME_JOB_FLOOR_EXE"),
                               vantrel::bench::kSameJobFloorWindowClass, vantrel::app::kList1},
                              {},
                              {}});
        }
        for (int i = 2; i < argc; ++i) {
            builds.push_back(
                {{argv[i], vantrel::testing::kVantrelWindowClass, vantrel::app::kList1}, {}, {}});
        }
        return vantrel::bench::Run(runs, builds);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vantrel_start_compare: %s\n", e.what());
        return 1;
    }
}
