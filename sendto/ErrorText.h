#pragma once

#include <string>

#include "platform/Error.h"

namespace vantrel {

// A failure as the user reads it: its description followed by the system's error
// code in words, the code alone when there is no description, the description
// alone when there is no code.
std::wstring ErrorText(const Error& error);

}  // namespace vantrel
