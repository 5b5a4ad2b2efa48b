#include "app/StartArgument.h"

#include <exception>

#include "platform/win32/ExtendedPath.h"

namespace vantrel::app {
namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// "C:\x", "\\server\share\x", "\\?\C:\x": nothing for the current folder to add.
bool IsAbsolute(const std::wstring& path) {
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return true;
    return path.size() >= 3 && path[1] == L':' && IsSeparator(path[2]);
}

}  // namespace

std::wstring FirstArgument(int count, const wchar_t* const* values) noexcept {
    if (count < 2 || !values || !values[1] || !*values[1]) return {};
    try {
        std::wstring argument = values[1];
        if (IsAbsolute(argument)) return argument;
        // "tool.exe", "C:tool.exe" or "\tools\tool.exe": against the current folder and drive,
        // or as it came when the system cannot say.
        try {
            return win32::FullPath(argument);
        } catch (const std::exception&) {
            return argument;
        }
    } catch (...) {
        return {};
    }
}

}  // namespace vantrel::app
