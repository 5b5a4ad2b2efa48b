#include "app/ScreenReaderNames.h"

#include <oleacc.h>
#include <wrl/client.h>

namespace vantrel::app {

HRESULT NameForScreenReaders(HWND text1, HWND list1, HWND label1) {
    Microsoft::WRL::ComPtr<IAccPropServices> services;
    HRESULT result = CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IAccPropServices, &services);
    if (FAILED(result)) return result;
    result = services->SetHwndPropStr(text1, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                      L"要添加的文件夹、程序或快捷方式的路径");
    if (FAILED(result)) return result;
    result = services->SetHwndPropStr(list1, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                      L"“发送到”文件夹中的项目");
    if (FAILED(result)) return result;
    VARIANT role{};
    role.vt = VT_I4;
    role.lVal = ROLE_SYSTEM_LINK;
    return services->SetHwndProp(label1, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_ROLE, role);
}

}  // namespace vantrel::app
