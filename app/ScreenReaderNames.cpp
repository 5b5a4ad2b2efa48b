#include "app/ScreenReaderNames.h"

// The annotation service's GUIDs are defined here rather than taken from a library:
// MinGW's libuuid holds them, the Windows SDK's uuid.lib may not.
#include <initguid.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <iterator>

#include "sendto/Texts.h"

namespace vantrel::app {
namespace {

HRESULT AnnotationService(Microsoft::WRL::ComPtr<IAccPropServices>& services) {
    return CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                            IID_IAccPropServices,
                            IID_PPV_ARGS_Helper(services.ReleaseAndGetAddressOf()));
}

}  // namespace

void NameForScreenReaders(HWND text1, HWND list1, HWND label1) {
    Microsoft::WRL::ComPtr<IAccPropServices> services;
    if (FAILED(AnnotationService(services))) return;
    if (FAILED(services->SetHwndPropStr(text1, kClientObjectId, CHILDID_SELF, PROPID_ACC_NAME,
                                        texts::kText1AccessibleName)) ||
        FAILED(services->SetHwndPropStr(list1, kClientObjectId, CHILDID_SELF, PROPID_ACC_NAME,
                                        texts::kList1AccessibleName))) {
        return;
    }
    VARIANT role{};
    role.vt = VT_I4;
    role.lVal = ROLE_SYSTEM_LINK;
    static_cast<void>(
        services->SetHwndProp(label1, kClientObjectId, CHILDID_SELF, PROPID_ACC_ROLE, role));
}

void ForgetScreenReaderNames(HWND text1, HWND list1, HWND label1) {
    Microsoft::WRL::ComPtr<IAccPropServices> services;
    if (FAILED(AnnotationService(services))) return;
    for (const HWND control : {text1, list1, label1}) {
        MSAAPROPID props[] = {PROPID_ACC_NAME, PROPID_ACC_ROLE};
        static_cast<void>(services->ClearHwndProps(control, kClientObjectId, CHILDID_SELF, props,
                                                   static_cast<int>(std::size(props))));
    }
}

}  // namespace vantrel::app
