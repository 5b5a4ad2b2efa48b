#pragma once

#include <string>

namespace vantrel {

// Names each case of a parameterized test after its parameter's `name`. Not a lambda
// inside INSTANTIATE_TEST_SUITE_P, whose own function already has a parameter named
// info that the lambda's would hide (a warning with Visual Studio's /W4).
inline constexpr auto CaseName = [](const auto& test) { return std::string(test.param.name); };

}  // namespace vantrel
