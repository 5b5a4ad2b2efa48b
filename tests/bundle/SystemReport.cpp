// Prints what a test report needs to know of the system it ran on: the Windows
// version and build, which of Vantrel's builds runs, the system DPI and the UI language, then how
// Vantrel starts there, one line each.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Layout.h"
#include "bench/window/FloorWindow.h"
#include "bench/window/InterleavedStarts.h"
#include "bench/window/Report.h"
#include "platform/win32/UniqueHandle.h"
#include "tests/e2e/VantrelProcess.h"

namespace vantrel::bundle {
namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
using GetDpiForSystemFunction = UINT(WINAPI*)();
using WineGetVersionFunction = const char*(CDECL*)();

template <typename Function>
Function Export(const wchar_t* module, const char* name) {
    const HMODULE loaded = GetModuleHandleW(module);
    return loaded
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(loaded, name)))
               : nullptr;
}

// UTF-8, one line each; stdout turns the line end into CRLF.
void Print(const std::wstring& line) {
    const std::wstring ended = line + L"\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, ended.c_str(), static_cast<int>(ended.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, ended.c_str(), static_cast<int>(ended.size()), bytes.data(),
                            size, nullptr, nullptr);
    }
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

// A text of the system's version key, with a space before it; empty when missing.
std::wstring CurrentVersionText(const wchar_t* name) {
    constexpr wchar_t kKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kKey, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS) {
        return {};
    }
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kKey, name, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) !=
        ERROR_SUCCESS) {
        return {};
    }
    text.resize(text.find(L'\0'));
    return L" " + text;
}

std::wstring UpdateRevision() {
    DWORD revision = 0;
    DWORD bytes = sizeof revision;
    const LSTATUS read =
        RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"UBR",
                     RRF_RT_REG_DWORD, nullptr, &revision, &bytes);
    return read == ERROR_SUCCESS ? L"." + std::to_wstring(revision) : L"";
}

// GetVersionExW answers by the program's manifest; ntdll tells the truth.
std::wstring WindowsVersion() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    const auto rtlGetVersion = Export<RtlGetVersionFunction>(L"ntdll.dll", "RtlGetVersion");
    if (!rtlGetVersion || rtlGetVersion(&version) != 0) return L"Windows: unknown";
    std::wstring line = L"Windows:" + CurrentVersionText(L"ProductName") +
                        CurrentVersionText(L"DisplayVersion") + L", version " +
                        std::to_wstring(version.dwMajorVersion) + L"." +
                        std::to_wstring(version.dwMinorVersion) + L", build " +
                        std::to_wstring(version.dwBuildNumber) + UpdateRevision();
    // Windows 11 still calls itself Windows 10 in ProductName.
    if (version.dwMajorVersion == 10 && version.dwBuildNumber >= 22000) line += L" (Windows 11)";
    if (const auto wine = Export<WineGetVersionFunction>(L"ntdll.dll", "wine_get_version")) {
        const std::string wineVersion = wine();
        line += L" under Wine " + std::wstring(wineVersion.begin(), wineVersion.end());
    }
    return line;
}

// Which build the bundle holds; 64-bit Windows runs the x86 one as a 32-bit program.
std::wstring Build() {
#ifdef _WIN64
    return L"Build: x64";
#else
    BOOL emulated = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &emulated) && emulated) {
        return L"Build: x86, run as a 32-bit program on 64-bit Windows";
    }
    return L"Build: x86";
#endif
}

// The program is DPI aware by its manifest, so the system answers unscaled.
std::wstring SystemDpi() {
    UINT dpi = 0;
    if (const auto forSystem = Export<GetDpiForSystemFunction>(L"user32.dll", "GetDpiForSystem")) {
        dpi = forSystem();
    } else if (const HDC screen = GetDC(nullptr)) {
        dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
        ReleaseDC(nullptr, screen);
    }
    if (dpi == 0) return L"System DPI: unknown";
    return L"System DPI: " + std::to_wstring(dpi) + L" (" + std::to_wstring(dpi * 100 / 96) +
           L" %)";
}

std::wstring UiLanguage() {
    const LANGID language = GetUserDefaultUILanguage();
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (LCIDToLocaleName(MAKELCID(language, SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0) == 0) {
        name[0] = L'?';
        name[1] = L'\0';
    }
    wchar_t id[8] = {};
    swprintf(id, 8, L"%04X", language);
    return std::wstring(L"UI language: ") + name + L" (0x" + id + L")";
}

// A few runs: enough for the ratio, short enough for the report. VANTREL_STARTUP_RUNS asks
// for another count: the test command's run under Wine, whose figures nobody reads, for none.
int StartupRuns() {
    wchar_t value[8] = {};
    const DWORD length = GetEnvironmentVariableW(L"VANTREL_STARTUP_RUNS", value, 8);
    const long runs = length > 0 && length < 8 ? std::wcstol(value, nullptr, 10) : -1;
    return runs >= 0 ? static_cast<int>(runs) : 5;
}

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

// Whether the DLLs Vantrel loads on first use are loaded anyway once its window is idle,
// and its start-up against the same-job floor (medians of `runs` interleaved runs).
// VANTREL_EXE and VANTREL_SAME_JOB_FLOOR_EXE name the programs. Never throws: a
// measurement that fails says so in its line.
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

}  // namespace
}  // namespace vantrel::bundle

int main() {
    namespace report = vantrel::bundle;
    report::Print(report::WindowsVersion());
    report::Print(report::Build());
    report::Print(report::SystemDpi());
    report::Print(report::UiLanguage());
    for (const auto& line : report::StartupLines(report::StartupRuns())) report::Print(line);
    return 0;
}
