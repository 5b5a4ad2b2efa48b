#pragma once

#include <ole2.h>

namespace vantrel::testing {

// IUnknown for a test's COM object of one interface: made with a count of one,
// deleted by its last Release.
template <typename Interface>
class ComObject : public Interface {
  public:
    explicit ComObject(REFIID id) : id_(id) {}
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object) return E_POINTER;
        if (id == IID_IUnknown || id == id_) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

  protected:
    virtual ~ComObject() = default;

  private:
    const IID id_;
    LONG references_ = 1;
};

}  // namespace vantrel::testing
