#pragma once

#include <windows.h>

#include <oleacc.h>

#include <map>
#include <string>

namespace vantrel::testing {

// Stands in for the system's annotation service in this process, whose Wine version
// keeps nothing: what the window tells screen readers, and whether the control had
// the focus already when it was told.
class RecordedAnnotations final : public IClassFactory, public IAccPropServices {
  public:
    struct Annotation {
        std::wstring name;
        long role = 0;
        bool focusedFirst = false;
    };

    RecordedAnnotations() {
        registered_ =
            CoRegisterClassObject(CLSID_AccPropServices, static_cast<IClassFactory*>(this),
                                  CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
    }
    ~RecordedAnnotations() {
        if (SUCCEEDED(registered_)) CoRevokeClassObject(cookie_);
    }
    RecordedAnnotations(const RecordedAnnotations&) = delete;
    RecordedAnnotations& operator=(const RecordedAnnotations&) = delete;

    HRESULT Registered() const { return registered_; }
    // Of a control alive now: what was said of it since it was made.
    const std::map<HWND, Annotation>& Said() const { return said_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (id == IID_IUnknown || id == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
        } else if (id == IID_IAccPropServices) {
            *object = static_cast<IAccPropServices*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    // Lives on the test's stack, past its registration.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** object) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        return QueryInterface(id, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    HRESULT STDMETHODCALLTYPE SetHwndPropStr(HWND control, DWORD, DWORD, MSAAPROPID property,
                                             LPCWSTR text) override {
        if (property != PROPID_ACC_NAME) return E_INVALIDARG;
        Told(control).name = text;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHwndProp(HWND control, DWORD, DWORD, MSAAPROPID property,
                                          VARIANT value) override {
        if (property != PROPID_ACC_ROLE || value.vt != VT_I4) return E_INVALIDARG;
        Told(control).role = value.lVal;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ClearHwndProps(HWND control, DWORD, DWORD, const MSAAPROPID*,
                                             int) override {
        said_.erase(control);
        return S_OK;
    }

    // Not used by the window.
    HRESULT STDMETHODCALLTYPE SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int,
                                            IAccPropServer*, AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int,
                                                IAccPropServer*, AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**,
                                                        DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*,
                                                          DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int,
                                                 IAccPropServer*, AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*,
                                                           DWORD*) override {
        return E_NOTIMPL;
    }

  private:
    Annotation& Told(HWND control) {
        Annotation& annotation = said_[control];
        annotation.focusedFirst = annotation.focusedFirst || GetFocus() == control;
        return annotation;
    }

    HRESULT registered_ = E_FAIL;
    DWORD cookie_ = 0;
    std::map<HWND, Annotation> said_;
};

}  // namespace vantrel::testing
