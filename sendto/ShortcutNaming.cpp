#include "sendto/ShortcutNaming.h"

#include <string_view>

namespace vantrel {
namespace {

constexpr std::wstring_view kWhiteSpace = L" \t\r\n\v\f\u00A0\u3000";

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// Length of a non-empty run of non-separators starting at `from`, 0 when there is none.
std::size_t ComponentLength(const std::wstring& path, std::size_t from) {
    std::size_t end = from;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    return end - from;
}

}  // namespace

std::wstring TrimmedPath(const std::wstring& text) {
    const auto first = text.find_first_not_of(kWhiteSpace);
    if (first == std::wstring::npos) return {};
    std::wstring path = text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') {
        path = path.substr(1, path.size() - 2);
    }
    return path;
}

bool IsAbsolutePath(const std::wstring& path) {
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2])) {
        return true;
    }
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return false;
    const std::size_t server = ComponentLength(path, 2);
    const std::size_t share = 2 + server + 1;
    return server > 0 && share < path.size() && ComponentLength(path, share) > 0;
}

std::wstring ShortcutBaseName(const std::wstring& target, const std::wstring& baseName) {
    if (!baseName.empty()) return baseName;
    std::wstring path = target;
    while (!path.empty() && IsSeparator(path.back())) path.pop_back();
    if (path.size() == 2 && path[1] == L':' && IsDriveLetter(path[0])) return path.substr(0, 1);
    std::size_t start = path.size();
    while (start > 0 && !IsSeparator(path[start - 1])) --start;
    return path.substr(start);
}

std::wstring FreeShortcutPath(const std::wstring& folder, const std::wstring& base,
                              const std::function<bool(const std::wstring&)>& taken) {
    const std::wstring stem = folder + L"\\" + base;
    std::wstring path = stem + L".lnk";
    for (int number = 2; taken(path); ++number) {
        path = stem + L" (" + std::to_wstring(number) + L").lnk";
    }
    return path;
}

}  // namespace vantrel
