#include <windows.h>

#include <oleauto.h>
#include <wrl/client.h>

#include "platform/Error.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Platform.h"

namespace vantrel::win32 {
namespace {

using Microsoft::WRL::ComPtr;

// oleaut32's string and variant functions, loaded with the first automation object.
struct OleAutomation {
    SystemLibrary library{L"oleaut32.dll"};
    decltype(&SysAllocStringLen) allocString =
        library.Get<decltype(SysAllocStringLen)>("SysAllocStringLen");
    decltype(&SysFreeString) freeString = library.Get<decltype(SysFreeString)>("SysFreeString");
    decltype(&SysStringLen) stringLength = library.Get<decltype(SysStringLen)>("SysStringLen");
    decltype(&VariantClear) clearVariant = library.Get<decltype(VariantClear)>("VariantClear");
};

const OleAutomation& Oleaut() {
    static const OleAutomation functions;
    return functions;
}

// A zeroed VARIANT is VT_EMPTY, as VariantInit would leave it.
class UniqueVariant {
  public:
    UniqueVariant() = default;
    ~UniqueVariant() { Oleaut().clearVariant(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    VARIANT* get() { return &value_; }
    const VARIANT& operator*() const { return value_; }

  private:
    VARIANT value_{};
};

class UniqueBstr {
  public:
    explicit UniqueBstr(const std::wstring& text)
        : value_(Oleaut().allocString(text.data(), static_cast<UINT>(text.size()))) {
        if (!value_) ThrowSystemError(static_cast<DWORD>(E_OUTOFMEMORY));
    }
    ~UniqueBstr() { Oleaut().freeString(value_); }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;

    BSTR get() const { return value_; }

  private:
    BSTR value_;
};

// Turns a failed Invoke into an Error, preferring the object's own description.
[[noreturn]] void ThrowInvokeFailure(HRESULT result, EXCEPINFO& exception) {
    if (result == DISP_E_EXCEPTION && exception.pfnDeferredFillIn) {
        exception.pfnDeferredFillIn(&exception);
    }
    const UniqueBstr description(exception.bstrDescription ? exception.bstrDescription : L"");
    Oleaut().freeString(exception.bstrDescription);
    Oleaut().freeString(exception.bstrSource);
    Oleaut().freeString(exception.bstrHelpFile);
    if (result == DISP_E_EXCEPTION && FAILED(exception.scode)) result = exception.scode;

    const std::wstring text(description.get(), Oleaut().stringLength(description.get()));
    if (text.empty()) ThrowSystemError(static_cast<DWORD>(result));
    throw Error(text, static_cast<DWORD>(result));
}

class DispatchObject final : public AutomationObject {
  public:
    explicit DispatchObject(ComPtr<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}

    std::wstring CallForText(const std::wstring& member, const std::wstring& argument) override {
        UniqueVariant result;
        Invoke(member, DISPATCH_METHOD, argument, result.get());
        if ((*result).vt != VT_BSTR) ThrowSystemError(static_cast<DWORD>(DISP_E_TYPEMISMATCH));
        return std::wstring((*result).bstrVal, Oleaut().stringLength((*result).bstrVal));
    }

    std::unique_ptr<AutomationObject> CallForObject(const std::wstring& member,
                                                    const std::wstring& argument) override {
        UniqueVariant result;
        Invoke(member, DISPATCH_METHOD, argument, result.get());
        if ((*result).vt != VT_DISPATCH || !(*result).pdispVal) {
            ThrowSystemError(static_cast<DWORD>(DISP_E_TYPEMISMATCH));
        }
        return std::make_unique<DispatchObject>(ComPtr<IDispatch>((*result).pdispVal));
    }

    void PutText(const std::wstring& property, const std::wstring& value) override {
        Invoke(property, DISPATCH_PROPERTYPUT, value, nullptr);
    }

    void Call(const std::wstring& member) override {
        UniqueVariant ignored;
        InvokeWith(member, DISPATCH_METHOD, nullptr, 0, ignored.get());
    }

  private:
    void Invoke(const std::wstring& member, WORD kind, const std::wstring& argument,
                VARIANT* result) {
        const UniqueBstr text(argument);
        VARIANT value{};
        value.vt = VT_BSTR;
        value.bstrVal = text.get();
        InvokeWith(member, kind, &value, 1, result);
    }

    void InvokeWith(const std::wstring& member, WORD kind, VARIANT* arguments, UINT count,
                    VARIANT* result) {
        LPOLESTR name = const_cast<LPOLESTR>(member.c_str());
        DISPID id = DISPID_UNKNOWN;
        ThrowIfFailed(dispatch_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));

        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS parameters{arguments, nullptr, count, 0};
        if (kind == DISPATCH_PROPERTYPUT) {
            parameters.rgdispidNamedArgs = &named;
            parameters.cNamedArgs = 1;
        }
        EXCEPINFO exception{};
        const HRESULT invoked = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind,
                                                  &parameters, result, &exception, nullptr);
        if (FAILED(invoked)) ThrowInvokeFailure(invoked, exception);
    }

    ComPtr<IDispatch> dispatch_;
};

}  // namespace

std::unique_ptr<AutomationObject> Win32Platform::CreateObject(const std::wstring& progId) {
    // Loaded before any string or variant exists: the destructors that free them
    // must find it loaded, since they cannot report a failure to load it.
    static_cast<void>(Oleaut());
    CLSID classId;
    ThrowIfFailed(CLSIDFromProgID(progId.c_str(), &classId));
    ComPtr<IDispatch> dispatch;
    ThrowIfFailed(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                   IID_PPV_ARGS(&dispatch)));
    return std::make_unique<DispatchObject>(std::move(dispatch));
}

}  // namespace vantrel::win32
