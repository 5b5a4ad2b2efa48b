#pragma once

#include <string>
#include <vector>

namespace vantrel {

// The current user's Send To folder: the APPDATA value followed by
// "\Microsoft\Windows\SendTo". Throws vantrel::Error when APPDATA is missing or empty.
std::wstring ResolveSendToFolder(const std::vector<std::wstring>& environment);

}  // namespace vantrel
