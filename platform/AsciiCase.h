#pragma once

namespace vantrel {

// a to z read as A to Z, the rest as it is: how Windows ignores case in ASCII text,
// such as environment names and file names that are ASCII only.
constexpr wchar_t UpperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

}  // namespace vantrel
