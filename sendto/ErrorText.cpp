#include "sendto/ErrorText.h"

#include <cwchar>

#include "sendto/Texts.h"

namespace vantrel {

std::wstring ErrorText(const Error& error) {
    if (error.SystemCode() == 0) return error.Message();
    wchar_t hex[16];
    std::swprintf(hex, 16, L"0x%08lX", static_cast<unsigned long>(error.SystemCode()));
    std::wstring code = texts::kErrorCode + std::wstring(hex);
    if (error.Message().empty()) return code;
    return error.Message() + texts::kCodeOpen + code + texts::kCodeClose;
}

}  // namespace vantrel
