#pragma once

#include <string>

namespace vantrel::testing {

// The value of the test process's environment variable, or empty where it is unset.
// Through GetEnvironmentVariableW: Visual Studio reports _wgetenv as unsafe (C4996).
std::wstring EnvironmentValue(const wchar_t* name);

}  // namespace vantrel::testing
