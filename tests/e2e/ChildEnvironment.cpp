#include <windows.h>

#include "tests/e2e/ChildEnvironment.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace vantrel::testing {
namespace {

struct EnvironmentBlockFreer {
    void operator()(wchar_t* block) const noexcept { FreeEnvironmentStringsW(block); }
};

// The name of an entry; entries such as "=C:=C:\dir" keep their leading '='.
std::wstring NameOf(const std::wstring& entry) {
    return entry.substr(0, entry.find(L'=', 1));
}

int CompareNames(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE);
}

}  // namespace

ChildEnvironment ChildEnvironment::Current() {
    const std::unique_ptr<wchar_t, EnvironmentBlockFreer> block(GetEnvironmentStringsW());
    if (!block) throw std::runtime_error("GetEnvironmentStringsW failed");
    ChildEnvironment environment;
    for (const wchar_t* entry = block.get(); *entry; entry += wcslen(entry) + 1) {
        environment.entries_.emplace_back(entry);
    }
    return environment;
}

ChildEnvironment& ChildEnvironment::Set(const std::wstring& name, const std::wstring& value) {
    std::erase_if(entries_, [&](const std::wstring& entry) {
        return CompareNames(NameOf(entry), name) == CSTR_EQUAL;
    });
    entries_.push_back(name + L"=" + value);
    return *this;
}

std::wstring ChildEnvironment::Block() const {
    std::vector<std::wstring> sorted = entries_;
    std::ranges::stable_sort(sorted, [](const std::wstring& a, const std::wstring& b) {
        return CompareNames(NameOf(a), NameOf(b)) == CSTR_LESS_THAN;
    });
    std::wstring block;
    for (const auto& entry : sorted) {
        block += entry;
        block += L'\0';
    }
    block += L'\0';
    return block;
}

}  // namespace vantrel::testing
