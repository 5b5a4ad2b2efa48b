#pragma once

#include <string>

namespace vantrel::app {

// The first argument the program was started with, as Explorer passes a file dropped on
// the program's icon or sent to it ("Send to"); empty when there is none. `arguments` is
// WinMain's command line without the program's name: only a start with arguments loads
// the shell's DLL to split the command line as Windows does.
std::wstring FirstArgument(const wchar_t* arguments);

}  // namespace vantrel::app
