#include "sendto/FolderResolution.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "platform/AsciiCase.h"
#include "platform/Error.h"
#include "sendto/Texts.h"

namespace vantrel {
namespace {

constexpr std::wstring_view kAppDataName = L"APPDATA";
constexpr std::wstring_view kSendToSuffix = L"\\Microsoft\\Windows\\SendTo";

// Windows compares environment names without regard to case.
bool SameName(std::wstring_view a, std::wstring_view b) {
    return std::ranges::equal(a, b, {}, UpperAscii, UpperAscii);
}

// The value of an entry named `name`. The separator is the first '=' after the first
// character, so the hidden per-drive entries ("=C:=C:\...") keep their leading '='.
std::optional<std::wstring_view> ValueOf(std::wstring_view entry, std::wstring_view name) {
    const auto equals = entry.find(L'=', 1);
    if (equals == std::wstring_view::npos || !SameName(entry.substr(0, equals), name)) {
        return std::nullopt;
    }
    return entry.substr(equals + 1);
}

}  // namespace

std::wstring ResolveSendToFolder(const std::vector<std::wstring>& environment) {
    for (const auto& entry : environment) {
        if (const auto value = ValueOf(entry, kAppDataName)) {
            if (value->empty()) throw Error(texts::kAppDataEmpty);
            return std::wstring(*value).append(kSendToSuffix);
        }
    }
    throw Error(texts::kAppDataMissing);
}

}  // namespace vantrel
