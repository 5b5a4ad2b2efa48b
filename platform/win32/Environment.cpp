#include <windows.h>

#include <memory>

#include "platform/win32/SystemError.h"
#include "platform/win32/Win32Platform.h"

namespace vantrel::win32 {
namespace {

struct EnvironmentBlockFreer {
    void operator()(wchar_t* block) const noexcept { FreeEnvironmentStringsW(block); }
};

}  // namespace

std::vector<std::wstring> Win32Platform::EnvironmentEntries() const {
    const std::unique_ptr<wchar_t, EnvironmentBlockFreer> block(GetEnvironmentStringsW());
    if (!block) ThrowLastError();

    std::vector<std::wstring> entries;
    for (const wchar_t* entry = block.get(); *entry; entry += entries.back().size() + 1) {
        entries.emplace_back(entry);
    }
    return entries;
}

}  // namespace vantrel::win32
