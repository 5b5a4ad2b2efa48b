#pragma once

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace vantrel::testing {

// The program whose resources and executable image the tests read: VANTREL_EXE
// when set, else the one this build made.
std::wstring InspectedExecutablePath();

struct ModuleFreer {
    void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

// The program mapped for its resources only: none of its code runs or is bound.
UniqueModule LoadResourcesOnly(const std::wstring& path = InspectedExecutablePath());

// The bytes of one resource; empty when it is missing.
std::string_view ResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name);

// A value at a byte offset; zero past the end.
template <typename T>
T ReadAt(std::string_view bytes, std::size_t offset) {
    T value{};
    if (offset + sizeof(T) <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

}  // namespace vantrel::testing
