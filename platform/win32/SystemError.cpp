#include "platform/win32/SystemError.h"

#include <cwctype>
#include <memory>

#include "platform/Error.h"

namespace vantrel::win32 {

std::wstring SystemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, decltype(&LocalFree)> owner(buffer, &LocalFree);

    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    while (!text.empty() && std::iswspace(text.back())) text.pop_back();
    return text;
}

void ThrowSystemError(DWORD code) {
    throw Error(SystemErrorText(code), code);
}

void ThrowLastError() {
    ThrowSystemError(GetLastError());
}

void ThrowIfFailed(HRESULT result) {
    if (FAILED(result)) ThrowSystemError(static_cast<DWORD>(result));
}

}  // namespace vantrel::win32
