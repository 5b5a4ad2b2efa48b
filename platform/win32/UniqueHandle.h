#pragma once

#include <windows.h>

#include <memory>

namespace vantrel::win32 {

struct FindHandleCloser {
    void operator()(HANDLE handle) const noexcept { FindClose(handle); }
};
struct KernelHandleCloser {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};

using UniqueFindHandle = std::unique_ptr<void, FindHandleCloser>;
using UniqueKernelHandle = std::unique_ptr<void, KernelHandleCloser>;

}  // namespace vantrel::win32
