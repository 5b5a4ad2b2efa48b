#pragma once

#include <objbase.h>

#include <stdexcept>

namespace vantrel::testing {

// COM for the current thread, as the program's UI thread has it; uninitializes
// only what it initialized.
class ScopedCom {
  public:
    ScopedCom() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {
        if (FAILED(result_)) throw std::runtime_error("CoInitializeEx failed");
    }
    ~ScopedCom() { CoUninitialize(); }
    ScopedCom(const ScopedCom&) = delete;
    ScopedCom& operator=(const ScopedCom&) = delete;

  private:
    HRESULT result_;
};

}  // namespace vantrel::testing
