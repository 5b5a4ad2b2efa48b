#pragma once

#include <ole2.h>

namespace vantrel::app {

// OLE for the UI thread (drag and drop, automation objects); uninitialized only
// when initialization succeeded.
class ScopedOle {
  public:
    ScopedOle() : result_(OleInitialize(nullptr)) {}
    ~ScopedOle() {
        if (SUCCEEDED(result_)) OleUninitialize();
    }
    ScopedOle(const ScopedOle&) = delete;
    ScopedOle& operator=(const ScopedOle&) = delete;

    HRESULT Result() const { return result_; }

  private:
    HRESULT result_;
};

}  // namespace vantrel::app
