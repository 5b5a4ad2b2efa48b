#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/SystemError.h"

namespace vantrel::win32 {

// The text a path call writes into a buffer of the size it is given. Such a call
// answers with the length it wrote, with the size it needs when the buffer is too
// small, or with 0 on failure (GetFullPathNameW, GetWindowsDirectoryW).
template <typename Call>
std::wstring CallWithGrowingBuffer(Call call) {
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        const auto length = static_cast<std::size_t>(call(text.data(), text.size()));
        if (length == 0) ThrowLastError();
        const bool fits = length < text.size();
        text.resize(length);
        if (fits) return text;
    }
}

}  // namespace vantrel::win32
