#pragma once

#include <windows.h>

#include <oleacc.h>
#include <wrl/client.h>

#include <optional>
#include <string>

#include "app/ScreenReaderNames.h"

namespace vantrel::testing {

// What a screen reader hears of a control: its name and role, as the system's
// accessibility proxy gives them. Needs COM on the calling thread; none when it answers nothing.
struct Heard {
    std::wstring name;
    long role = 0;
};

inline std::optional<Heard> HeardOf(HWND control) {
    Microsoft::WRL::ComPtr<IAccessible> accessible;
    if (AccessibleObjectFromWindow(control, app::kClientObjectId,
                                   IID_PPV_ARGS(accessible.ReleaseAndGetAddressOf())) != S_OK) {
        return std::nullopt;
    }
    VARIANT self{};
    self.vt = VT_I4;  // CHILDID_SELF
    Heard heard;
    BSTR name = nullptr;
    if (accessible->get_accName(self, &name) == S_OK) {
        heard.name.assign(name, SysStringLen(name));
        SysFreeString(name);
    }
    VARIANT role{};
    if (accessible->get_accRole(self, &role) == S_OK && role.vt == VT_I4) heard.role = role.lVal;
    return heard;
}

}  // namespace vantrel::testing
