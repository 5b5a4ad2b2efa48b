#include "tests/windows/InspectedExecutable.h"

#include <algorithm>

namespace vantrel::testing {

std::wstring InspectedExecutablePath() {
    // The build names it with forward slashes; the loader functions want backslashes.
    std::wstring path = L"" VANTREL_INSPECTED_EXE;
    std::ranges::replace(path, L'/', L'\\');
    return path;
}

}  // namespace vantrel::testing
