#pragma once

#include <ole2.h>

namespace vantrel::app {

// COM or OLE initialization for the UI thread, undone only when it succeeded.
template <HRESULT (*initialize)(), void (*uninitialize)()>
class ScopedInitialization {
  public:
    ScopedInitialization() : result_(initialize()) {}
    ~ScopedInitialization() {
        if (SUCCEEDED(result_)) uninitialize();
    }
    ScopedInitialization(const ScopedInitialization&) = delete;
    ScopedInitialization& operator=(const ScopedInitialization&) = delete;

    HRESULT Result() const { return result_; }

  private:
    HRESULT result_;
};

inline HRESULT InitializeCom() {
    return CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}
inline void UninitializeCom() {
    CoUninitialize();
}
inline HRESULT InitializeOle() {
    return OleInitialize(nullptr);
}
inline void UninitializeOle() {
    OleUninitialize();
}

// COM: the automation objects and the screen readers' names.
using ScopedCom = ScopedInitialization<InitializeCom, UninitializeCom>;
// OLE on top of COM: drag and drop.
using ScopedOle = ScopedInitialization<InitializeOle, UninitializeOle>;

}  // namespace vantrel::app
