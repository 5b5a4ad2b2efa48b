#pragma once

#include <optional>
#include <string>

namespace vantrel::testing {

// A file in the Recycle Bin, found through the shell's Recycle Bin folder by the
// path it had. Tests look up and erase only the items they recycled themselves.
struct RecycledFile {
    std::wstring originalPath;
    std::wstring storedPath;  // where the system keeps its bytes
};

// nullopt when no item recycled from `originalPath` is in the Recycle Bin.
std::optional<RecycledFile> FindRecycled(const std::wstring& originalPath);

// Deletes the item for good, as deleting it inside the Recycle Bin does; throws on failure.
void EraseRecycled(const RecycledFile& file);

// Expects `originalPath` gone and in the Recycle Bin, holding `bytes` when given;
// then erases it from there.
void ExpectRecycledThenErase(const std::wstring& originalPath,
                             const std::optional<std::string>& bytes = std::nullopt);

// A file name no earlier run left in the Recycle Bin: `stem`, this process and the time.
std::wstring UniqueName(const std::wstring& stem, const std::wstring& extension);

}  // namespace vantrel::testing
