// Feeds arbitrary environments to the Send To folder resolution and checks every
// answer against a plain reading of the rule.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/WideInput.h"
#include "platform/Error.h"
#include "sendto/FolderResolution.h"

namespace {

constexpr std::wstring_view kName = L"APPDATA";
constexpr std::wstring_view kSuffix = L"\\Microsoft\\Windows\\SendTo";

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "folder resolution: %s\n", what);
    std::abort();
}

// An entry names APPDATA when its first seven units spell it in either ASCII case and
// the eighth is '='. Written apart from the product's parser on purpose.
bool NamesAppData(const std::wstring& entry) {
    if (entry.size() <= kName.size() || entry[kName.size()] != L'=') return false;
    for (std::size_t i = 0; i < kName.size(); ++i) {
        const wchar_t upper = kName[i];
        const wchar_t lower = static_cast<wchar_t>(upper - L'A' + L'a');
        if (entry[i] != upper && entry[i] != lower) return false;
    }
    return true;
}

// The folder the rule asks for, or nothing when it asks for a refusal.
std::optional<std::wstring> ExpectedFolder(const std::vector<std::wstring>& environment) {
    for (const auto& entry : environment) {
        if (!NamesAppData(entry)) continue;
        const auto value = entry.substr(kName.size() + 1);
        if (value.empty()) return std::nullopt;
        return value + std::wstring(kSuffix);
    }
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto environment = vantrel::fuzz::NulSeparated(vantrel::fuzz::WideUnits(data, size));
    const auto expected = ExpectedFolder(environment);

    std::wstring folder;
    try {
        folder = vantrel::ResolveSendToFolder(environment);
    } catch (const vantrel::Error& e) {
        if (expected) Fail("refused an environment with a usable APPDATA entry");
        if (e.Message().empty()) Fail("refused without a message");
        return 0;
    }
    if (!expected) Fail("resolved a folder without a usable APPDATA entry");
    if (!folder.ends_with(kSuffix)) Fail("the folder does not end in \\Microsoft\\Windows\\SendTo");
    if (folder != *expected) Fail("the folder is not the first APPDATA value plus the suffix");
    return 0;
}
