#pragma once

#include <string>
#include <vector>

namespace vantrel::win32 {

// Puts names in the list's order: ordinal with case ignored, as Explorer's menu
// reads, exact order breaking ties. NTFS hands a folder's names back in that order
// already, so there one pass finds nothing to do.
void SortForListing(std::vector<std::wstring>& names);

}  // namespace vantrel::win32
