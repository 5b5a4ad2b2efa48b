// The Send To logic's cost against its input size: each should grow linearly.
#include <benchmark/benchmark.h>

#include <string>
#include <unordered_set>
#include <vector>

#include "sendto/FolderResolution.h"
#include "sendto/ShortcutNaming.h"

namespace {

// APPDATA stands last, so every entry before it is looked at.
void ResolveSendToFolder(benchmark::State& state) {
    std::vector<std::wstring> environment;
    for (int i = 0; i < state.range(0); ++i) {
        environment.push_back(L"VARIABLE_" + std::to_wstring(i) + L"=C:\\Some\\Value");
    }
    environment.push_back(L"APPDATA=C:\\Users\\user1\\AppData\\Roaming");
    for (auto _ : state) benchmark::DoNotOptimize(vantrel::ResolveSendToFolder(environment));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ResolveSendToFolder)->RangeMultiplier(4)->Range(625, 40000)->Complexity(benchmark::oN);

// The first free name after n taken ones: "editor.lnk", "editor (2).lnk", ...
void FreeShortcutPath(benchmark::State& state) {
    const std::wstring folder = L"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\SendTo";
    std::unordered_set<std::wstring> taken{folder + L"\\editor.lnk"};
    for (int i = 2; i <= state.range(0); ++i) {
        taken.insert(folder + L"\\editor (" + std::to_wstring(i) + L").lnk");
    }
    const auto isTaken = [&taken](const std::wstring& path) { return taken.contains(path); };
    for (auto _ : state) {
        benchmark::DoNotOptimize(vantrel::FreeShortcutPath(folder, L"editor", isTaken));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(FreeShortcutPath)->RangeMultiplier(4)->Range(16, 16384)->Complexity(benchmark::oN);

// Trimming and the absolute-path check over texts up to the edit box's limit.
void TrimAndCheckPath(benchmark::State& state) {
    const std::wstring text = L"  \"C:\\" + std::wstring(state.range(0), L'x') + L"\"  ";
    for (auto _ : state) {
        const std::wstring path = vantrel::TrimmedPath(text);
        benchmark::DoNotOptimize(vantrel::IsAbsolutePath(path));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(TrimAndCheckPath)->RangeMultiplier(4)->Range(64, 32768)->Complexity(benchmark::oN);

}  // namespace
