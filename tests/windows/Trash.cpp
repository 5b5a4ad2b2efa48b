#include "tests/windows/Trash.h"

#include <windows.h>

namespace vantrel::testing {

std::wstring TrashFolder() {
    std::wstring home(32768, L'\0');
    const DWORD length =
        GetEnvironmentVariableW(L"XDG_DATA_HOME", home.data(), static_cast<DWORD>(home.size()));
    if (length == 0 || length >= home.size()) return {};
    home.resize(length);
    for (auto& c : home) {
        if (c == L'/') c = L'\\';
    }
    return L"Z:" + home + L"\\Trash\\files";
}

std::wstring UniqueName(const std::wstring& stem, const std::wstring& extension) {
    return stem + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount64()) + extension;
}

}  // namespace vantrel::testing
