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
#include "bench/window/Report.h"
#include "bench/window/SendToFiles.h"
#include "bench/window/StartupMeasure.h"
#include "tests/e2e/VantrelProcess.h"

namespace vantrel::bench {
namespace {

struct Build {
    TimedProgram program;
    Samples few, many;
};

std::string Narrow(const std::wstring& text) {
    return {text.begin(), text.end()};  // exe paths here are ASCII
}

int Run(int runs, std::vector<Build>& builds) {
    const SendToFiles few(20);
    const SendToFiles many(10000);
    const auto withFew = testing::ChildEnvironment::Current().Set(L"APPDATA", few.AppData());
    const auto withMany = testing::ChildEnvironment::Current().Set(L"APPDATA", many.AppData());

    // The first starts load what later ones find ready: not counted.
    for (const Build& build : builds) MeasureStart(build.program, withMany, many.Count());
    // In a turning order, so no build always follows the same one.
    for (int run = 0; run < runs; ++run) {
        std::fprintf(stderr, "run %d of %d\n", run + 1, runs);
        for (std::size_t i = 0; i < builds.size(); ++i) {
            Build& build = builds[(run + i) % builds.size()];
            build.few.Add(MeasureStart(build.program, withFew, few.Count()).milliseconds);
            build.many.Add(MeasureStart(build.program, withMany, many.Count()).milliseconds);
        }
    }

    std::vector<std::pair<std::string, const Samples*>> series;
    for (const Build& build : builds) {
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
        std::vector<vantrel::bench::Build> builds;
        if (_wgetenv(L"VANTREL_SAME_JOB_FLOOR_EXE")) {
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
