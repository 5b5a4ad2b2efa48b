// Feeds arbitrary texts to the shortcut naming rules and checks what each rule promises.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "fuzz/WideInput.h"
#include "sendto/ShortcutNaming.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "shortcut naming: %s\n", what);
    std::abort();
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

void CheckTrimming(const std::wstring& text) {
    const std::wstring path = vantrel::TrimmedPath(text);
    if (path.size() > text.size()) Fail("trimming made the text longer");
    if (text.find(path) == std::wstring::npos) Fail("trimming changed the text inside");
    if (vantrel::TrimmedPath(L" \t" + text + L"\u3000 ") != path) {
        Fail("more white space around the text changed the result");
    }
}

void CheckAbsolute(const std::wstring& path) {
    if (!vantrel::IsAbsolutePath(path)) return;
    const bool drive = path.size() >= 3 && path[1] == L':' && IsSeparator(path[2]);
    const bool unc = path.size() >= 5 && IsSeparator(path[0]) && IsSeparator(path[1]);
    if (!drive && !unc) Fail("a path that is neither drive-absolute nor UNC was accepted");
}

void CheckBaseName(const std::wstring& target, const std::wstring& baseName) {
    const std::wstring name = vantrel::ShortcutBaseName(target, baseName);
    if (!baseName.empty() && name != baseName) Fail("a non-empty base name was not kept");
    for (const wchar_t c : name) {
        if (baseName.empty() && IsSeparator(c)) Fail("a fallback name holds a separator");
    }
}

// The taken names are the stem's own numbered names up to a count the input picks.
void CheckFreePath(const std::wstring& folder, const std::wstring& base, std::size_t count) {
    const std::wstring stem = folder + L"\\" + base;
    std::set<std::wstring> taken;
    if (count > 0) taken.insert(stem + L".lnk");
    for (std::size_t n = 2; n <= count; ++n)
        taken.insert(stem + L" (" + std::to_wstring(n) + L").lnk");

    const std::wstring path = vantrel::FreeShortcutPath(
        folder, base,
        [&taken](const std::wstring& candidate) { return taken.contains(candidate); });
    if (taken.contains(path)) Fail("the free path is taken");
    const std::wstring expected =
        count == 0 ? stem + L".lnk" : stem + L" (" + std::to_wstring(count + 1) + L").lnk";
    if (path != expected) Fail("the free path is not the first free one");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks how many names are taken; the rest is text, base name, folder.
    const std::size_t taken = data[0] % 64;
    auto pieces = vantrel::fuzz::NulSeparated(vantrel::fuzz::WideUnits(data + 1, size - 1));
    pieces.resize(3);
    const std::wstring& text = pieces[0];
    const std::wstring& baseName = pieces[1];
    const std::wstring& folder = pieces[2];

    CheckTrimming(text);
    const std::wstring path = vantrel::TrimmedPath(text);
    CheckAbsolute(path);
    CheckBaseName(path, baseName);
    CheckFreePath(folder, vantrel::ShortcutBaseName(path, baseName), taken);
    return 0;
}
