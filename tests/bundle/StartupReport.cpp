#include "tests/bundle/StartupReport.h"

#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "app/Layout.h"
#include "bench/window/FloorWindow.h"
#include "bench/window/InterleavedStarts.h"
#include "bench/window/Report.h"
#include "platform/win32/UniqueHandle.h"
#include "tests/e2e/VantrelProcess.h"

namespace vantrel::bundle {
namespace {

constexpr int kFewFiles = 20;
constexpr int kManyFiles = 10000;
constexpr wchar_t kNotMeasured[] = L"Start-up: not measured (VANTREL_STARTUP_RUNS=0)";

// Loaded by the first click that needs them, unless the system loads them sooner.
constexpr const wchar_t* kLoadedOnFirstUse[] = {L"shell32.dll", L"oleaut32.dll"};

std::wstring Widened(const std::string& text) {
    return {text.begin(), text.end()};  // digits and the system's ASCII messages
}

std::vector<std::wstring> ModuleNames(DWORD processId) {
    const HANDLE taken = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (taken == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("CreateToolhelp32Snapshot failed: " +
                                 std::to_string(GetLastError()));
    }
    const win32::UniqueKernelHandle snapshot(taken);
    std::vector<std::wstring> names;
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    for (BOOL more = Module32FirstW(taken, &module); more; more = Module32NextW(taken, &module)) {
        names.emplace_back(module.szModule);
    }
    return names;
}

// Vantrel started with a few files, its window shown and idle, as a user finds it; started
// with a name, as from a console, whose reading must load nothing either.
std::wstring LoadedOnceIdleLine(const testing::ChildEnvironment& environment) {
    testing::VantrelProcess vantrel(environment, testing::VantrelExe(),
                                    testing::kVantrelWindowClass, SW_SHOWDEFAULT, L"tool.exe");
    if (!vantrel.WaitForMainWindow()) throw std::runtime_error("the window did not show");
    if (WaitForInputIdle(vantrel.Handle(), 10000) != 0) {
        throw std::runtime_error("the window did not become idle");
    }
    const std::vector<std::wstring> modules = ModuleNames(vantrel.Id());
    std::wstring line = L"Loaded in Vantrel.exe once its window is idle:";
    for (const wchar_t* dll : kLoadedOnFirstUse) {
        const bool loaded = std::ranges::any_of(modules, [dll](const std::wstring& module) {
            return CompareStringOrdinal(module.c_str(), -1, dll, -1, TRUE) == CSTR_EQUAL;
        });
        line += std::wstring(L" ") + dll + (loaded ? L" yes" : L" no");
    }
    PostMessageW(vantrel.FindMainWindow(), WM_CLOSE, 0, 0);
    vantrel.WaitForExit();
    return line;
}

std::wstring StartupLine(const wchar_t* files, const bench::Samples& vantrel,
                         const bench::Samples& floor) {
    return L"Start-up with " + std::wstring(files) + L" files, median of " +
           std::to_wstring(vantrel.Count()) + L" runs: Vantrel " +
           Widened(bench::Fixed(vantrel.Median(), 1)) + L" ms, same-job floor " +
           Widened(bench::Fixed(floor.Median(), 1)) + L" ms, " +
           Widened(bench::Fixed(vantrel.Median() / floor.Median(), 2)) + L"x";
}

}  // namespace

std::vector<std::wstring> StartupLines(int runs) {
    try {
        const bench::SendToFiles few(kFewFiles);
        std::vector<std::wstring> lines = {LoadedOnceIdleLine(
            testing::ChildEnvironment::Current().Set(L"APPDATA", few.AppData()))};
        if (runs == 0) return {lines[0], kNotMeasured};
        const bench::SendToFiles many(kManyFiles);

        std::vector<bench::ProgramStarts> starts = {
            {{testing::VantrelExe(), testing::kVantrelWindowClass, app::kList1}, {}, {}},
            {{testing::ExeNamedBy(L"VANTREL_SAME_JOB_FLOOR_EXE"), bench::kSameJobFloorWindowClass,
              app::kList1},
             {},
             {}}};
        bench::MeasureInterleavedStarts(runs, starts, few, many);
        lines.push_back(StartupLine(L"20", starts[0].few, starts[1].few));
        lines.push_back(StartupLine(L"10,000", starts[0].many, starts[1].many));
        return lines;
    } catch (const std::exception& e) {
        return {L"Start-up: not measured: " + Widened(e.what())};
    }
}

}  // namespace vantrel::bundle
