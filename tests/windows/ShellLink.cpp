#include "tests/windows/ShellLink.h"

#include <windows.h>

#include <shlobj.h>
#include <wrl/client.h>

#include <stdexcept>
#include <string>

#include "tests/windows/ShellResults.h"

namespace vantrel::testing {

std::wstring ShortcutTarget(const std::wstring& shortcutPath) {
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    Check(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)),
          "CoCreateInstance(ShellLink)");
    Microsoft::WRL::ComPtr<IPersistFile> file;
    Check(link.As(&file), "QueryInterface(IPersistFile)");
    Check(file->Load(shortcutPath.c_str(), STGM_READ), "IPersistFile::Load");

    // The item list is what the shell follows; Wine keeps the plain path string
    // only in the ANSI code page, so it cannot carry every name.
    PIDLIST_ABSOLUTE raw = nullptr;
    Check(link->GetIDList(&raw), "IShellLinkW::GetIDList");
    const ItemList list(raw);
    if (!list) throw std::runtime_error("the shortcut has no item list");
    std::wstring target(32768, L'\0');
    if (!SHGetPathFromIDListEx(list.get(), target.data(), static_cast<DWORD>(target.size()),
                               GPFIDL_DEFAULT)) {
        throw std::runtime_error("SHGetPathFromIDListEx failed");
    }
    target.resize(target.find(L'\0'));
    return target;
}

}  // namespace vantrel::testing
