#include "tests/windows/InspectedExecutable.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/windows/EnvironmentValue.h"

namespace vantrel::testing {

std::wstring InspectedExecutablePath() {
    // A copied test bundle names the program beside it; a build run names its own.
    const std::wstring named = EnvironmentValue(L"VANTREL_EXE");
    // The build names it with forward slashes; the loader functions want backslashes.
    std::wstring path = named.empty() ? L"" VANTREL_INSPECTED_EXE : named;
    std::ranges::replace(path, L'/', L'\\');
    return path;
}

UniqueModule LoadResourcesOnly(const std::wstring& path) {
    UniqueModule module(LoadLibraryExW(path.c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) ADD_FAILURE() << "cannot map the program, error " << GetLastError();
    return module;
}

std::string_view ResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name) {
    HRSRC found = module ? FindResourceW(module, name, type) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const char*>(bytes), SizeofResource(module, found)};
}

}  // namespace vantrel::testing
