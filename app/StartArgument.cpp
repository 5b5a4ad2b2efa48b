#include "app/StartArgument.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>

#include "platform/win32/SystemError.h"
#include "platform/win32/SystemLibrary.h"

namespace vantrel::app {

std::wstring FirstArgument(const wchar_t* arguments) {
    if (!arguments || !*arguments) return {};
    const win32::SystemLibrary shell32(L"shell32.dll");
    const auto split = shell32.Get<decltype(CommandLineToArgvW)>("CommandLineToArgvW");
    // The whole command line: the split reads its first part by the rules for a program's name.
    int count = 0;
    wchar_t** const argv = split(GetCommandLineW(), &count);
    if (!argv) win32::ThrowLastError();
    const std::unique_ptr<wchar_t*, decltype(&LocalFree)> owner(argv, &LocalFree);
    return count > 1 ? std::wstring(argv[1]) : std::wstring();
}

}  // namespace vantrel::app
