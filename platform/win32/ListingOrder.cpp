#include "platform/win32/ListingOrder.h"

#include <windows.h>

#include <algorithm>

#include "platform/AsciiCase.h"

namespace vantrel::win32 {
namespace {

// Ordinal with case ignored, as CompareStringOrdinal has it: negative, zero or
// positive. While both names are ASCII that is a to z read as A to Z, decided here,
// so a folder of thousands sorts without a system call per pair.
int CompareFolded(const std::wstring& a, const std::wstring& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] >= 0x80 || b[i] >= 0x80) {
            const int order = CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                                   static_cast<int>(b.size()), TRUE);
            return order == CSTR_LESS_THAN ? -1 : order == CSTR_GREATER_THAN ? 1 : 0;
        }
        const wchar_t x = UpperAscii(a[i]);
        const wchar_t y = UpperAscii(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// Case-insensitive, as Explorer's menu reads; exact order breaks ties so the
// result does not depend on the file system's order.
bool ListsBefore(const std::wstring& a, const std::wstring& b) {
    const int folded = CompareFolded(a, b);
    return folded != 0 ? folded < 0 : a < b;
}

}  // namespace

void SortForListing(std::vector<std::wstring>& names) {
    if (!std::ranges::is_sorted(names, ListsBefore)) std::ranges::sort(names, ListsBefore);
}

}  // namespace vantrel::win32
