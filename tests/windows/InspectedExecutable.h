#pragma once

#include <string>

namespace vantrel::testing {

// The program whose resources and executable image the tests read.
std::wstring InspectedExecutablePath();

}  // namespace vantrel::testing
