#pragma once

#include <string>

namespace vantrel::app {

// The first argument the program was started with, as Explorer passes a file dropped on
// the program's icon or sent to it ("Send to"), or a console passes a name typed in the
// folder that holds it; empty when there is none. `count` and `values` are the arguments
// as the C runtime split them (__argc, __wargv), the program's name first; null values
// mean none. A relative path is made absolute against the current folder, so call this
// before anything changes it; an absolute, UNC or extended path is kept as it came. Never
// fails: at worst there is no argument, and the window opens with its hint.
std::wstring FirstArgument(int count, const wchar_t* const* values) noexcept;

}  // namespace vantrel::app
