#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::fuzz {

// The input as UTF-16 code units, two bytes each, little-endian; an odd last byte
// is dropped. Any unit value is allowed, unpaired surrogates included.
inline std::wstring WideUnits(const std::uint8_t* data, std::size_t size) {
    std::wstring units;
    units.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        units.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    }
    return units;
}

// Splits at every NUL unit, as a Windows environment block separates its entries,
// keeping empty pieces; no units at all give no entries.
inline std::vector<std::wstring> NulSeparated(const std::wstring& units) {
    std::vector<std::wstring> entries;
    if (units.empty()) return entries;
    std::size_t start = 0;
    for (;;) {
        const auto end = units.find(L'\0', start);
        entries.push_back(units.substr(start, end - start));
        if (end == std::wstring::npos) return entries;
        start = end + 1;
    }
}

}  // namespace vantrel::fuzz
