#include "bench/window/StartupMeasure.h"

#include <psapi.h>

#include <chrono>
#include <memory>
#include <stdexcept>

#include "bench/window/Samples.h"
#include "tests/e2e/VantrelProcess.h"
#include "tests/e2e/Wait.h"
#include "tests/e2e/WindowQueries.h"

namespace vantrel::bench {
namespace {

// Short, so the poll adds little to what it measures.
constexpr std::chrono::milliseconds kPollInterval{1};

bool ShownWithItems(const testing::VantrelProcess& process, int listId, int items) {
    const HWND window = process.FindMainWindow();
    if (!window || !IsWindowVisible(window)) return false;
    const HWND list = GetDlgItem(window, listId);
    return list && testing::ListCount(list) == items;
}

}  // namespace

StartMeasurement MeasureStart(const TimedProgram& program,
                              const testing::ChildEnvironment& environment, int items) {
    bool shown = false;
    std::unique_ptr<testing::VantrelProcess> process;
    const double milliseconds = MillisecondsOf([&] {
        process = std::make_unique<testing::VantrelProcess>(environment, program.exe,
                                                            program.windowClass);
        shown = testing::WaitUntil([&] { return ShownWithItems(*process, program.listId, items); },
                                   testing::kPatience, kPollInterval);
    });
    if (!shown) throw std::runtime_error("the window did not show its list filled");

    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process->Handle(), &counters, sizeof counters)) {
        throw std::runtime_error("GetProcessMemoryInfo failed: " + std::to_string(GetLastError()));
    }

    // Closed as a user closes it; the process object ends it by force otherwise.
    PostMessageW(process->FindMainWindow(), WM_CLOSE, 0, 0);
    process->WaitForExit();
    return {milliseconds, counters.PeakWorkingSetSize};
}

}  // namespace vantrel::bench
