#include "tests/windows/RecycleBin.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <wrl/client.h>

#include <memory>
#include <stdexcept>

#include "platform/win32/UniqueHandle.h"
#include "tests/windows/ScopedCom.h"
#include "tests/windows/ShellResults.h"
#include "tests/windows/TempFolder.h"
#include "tests/windows/Wine.h"

namespace vantrel::testing {
namespace {

using Microsoft::WRL::ComPtr;

struct TaskMemoryFreer {
    void operator()(wchar_t* text) const noexcept { CoTaskMemFree(text); }
};

// Original location of a recycled item, as the Recycle Bin names it.
const SHCOLUMNID kOriginalLocation = {PSGUID_DISPLACED, PID_DISPLACED_FROM};

std::wstring TakeText(STRRET& answer, PCUITEMID_CHILD item) {
    wchar_t* text = nullptr;
    Check(StrRetToStrW(&answer, item, &text), "StrRetToStrW");
    const std::unique_ptr<wchar_t, TaskMemoryFreer> owned(text);
    return text;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring FileNameOf(const std::wstring& path) {
    return path.substr(path.rfind(L'\\') + 1);
}

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.rfind(L'\\'));
}

// The path with every component in its long form, as the Recycle Bin records it:
// %TEMP% may name the user's folder in its 8.3 form. The path itself when the
// system cannot say.
std::wstring LongForm(const std::wstring& path) {
    const DWORD size = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    const DWORD length = GetLongPathNameW(path.c_str(), full.data(), size);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    return full;
}

std::wstring ExtensionOf(const std::wstring& name) {
    const auto dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : name.substr(dot);
}

// Wine keeps its Recycle Bin in the freedesktop trash, $XDG_DATA_HOME/Trash, seen
// through drive Z:; its shell folder does not give the stored file's path.
std::wstring WineTrash() {
    std::wstring home(32768, L'\0');
    const DWORD length =
        GetEnvironmentVariableW(L"XDG_DATA_HOME", home.data(), static_cast<DWORD>(home.size()));
    if (length == 0 || length >= home.size()) {
        throw std::runtime_error("XDG_DATA_HOME is not set for the Wine session");
    }
    home.resize(length);
    for (auto& c : home) {
        if (c == L'/') c = L'\\';
    }
    return L"Z:" + home + L"\\Trash";
}

// Wine stores a name the trash already holds as "name-<hex>"; the newest is the
// one just recycled, as the tests recycle one at a time. Empty when there is none.
std::wstring WineStoredPath(const std::wstring& name) {
    const std::wstring info = WineTrash() + L"\\info\\";
    const std::wstring suffix = L".trashinfo";
    WIN32_FIND_DATAW found;
    const HANDLE first = FindFirstFileW((info + name + L"*" + suffix).c_str(), &found);
    if (first == INVALID_HANDLE_VALUE) return {};
    const win32::UniqueFindHandle search(first);
    std::wstring newest;
    ULONGLONG newestTime = 0;
    do {
        const std::wstring stored(found.cFileName, wcslen(found.cFileName) - suffix.size());
        const ULONGLONG time =
            (static_cast<ULONGLONG>(found.ftLastWriteTime.dwHighDateTime) << 32) |
            found.ftLastWriteTime.dwLowDateTime;
        if ((stored == name || stored.starts_with(name + L"-")) && time >= newestTime) {
            newest = stored;
            newestTime = time;
        }
    } while (FindNextFileW(search.get(), &found));
    return newest.empty() ? newest : WineTrash() + L"\\files\\" + newest;
}

struct Item {
    ItemList absolute;
    std::wstring storedPath;
};

class RecycleBinFolder {
  public:
    RecycleBinFolder() {
        PIDLIST_ABSOLUTE raw = nullptr;
        Check(SHGetKnownFolderIDList(FOLDERID_RecycleBinFolder, 0, nullptr, &raw),
              "SHGetKnownFolderIDList(RecycleBinFolder)");
        self_.reset(raw);
        ComPtr<IShellFolder> desktop;
        Check(SHGetDesktopFolder(&desktop), "SHGetDesktopFolder");
        Check(desktop->BindToObject(self_.get(), nullptr, IID_PPV_ARGS(&folder_)),
              "IShellFolder::BindToObject(RecycleBinFolder)");
    }

    // The item recycled from `originalPath`, if any.
    std::optional<Item> Find(const std::wstring& originalPath) const {
        ComPtr<IEnumIDList> items;
        const HRESULT listed = folder_->EnumObjects(
            nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, &items);
        Check(listed, "IShellFolder::EnumObjects(RecycleBinFolder)");
        if (listed == S_FALSE || !items) return std::nullopt;  // an empty Recycle Bin
        PITEMID_CHILD raw = nullptr;
        while (items->Next(1, &raw, nullptr) == S_OK) {
            ItemList child(raw);
            if (!CameFrom(raw, originalPath)) continue;
            ItemList absolute(ILCombine(self_.get(), raw));
            if (!absolute) throw std::runtime_error("ILCombine failed");
            std::wstring stored = StoredPath(absolute.get(), originalPath);
            // Windows keeps the extension on the stored copy; a same-named item of
            // another type is not ours. (Wine's trash renames a second "x.lnk" to
            // "x.lnk-<hex>", and names the type in full in what it shows.)
            if (!RunningOnWine() && !SameText(ExtensionOf(stored), ExtensionOf(originalPath))) {
                continue;
            }
            return Item{std::move(absolute), std::move(stored)};
        }
        return std::nullopt;
    }

  private:
    // Windows shows a recycled file under its name, without the extension where the
    // user's settings hide it (always for shortcuts), and gives the folder it was in.
    bool CameFrom(PCUITEMID_CHILD item, const std::wstring& originalPath) const {
        STRRET answer{};
        Check(folder_->GetDisplayNameOf(item, SHGDN_INFOLDER, &answer),
              "IShellFolder::GetDisplayNameOf");
        const std::wstring shown = TakeText(answer, item);
        const std::wstring name = FileNameOf(originalPath);
        const std::wstring stem = name.substr(0, name.size() - ExtensionOf(name).size());
        return (SameText(shown, name) || SameText(shown, stem)) &&
               SameText(LongForm(OriginalFolder(item)), LongForm(FolderOf(originalPath)));
    }

    std::wstring OriginalFolder(PCUITEMID_CHILD item) const {
        VARIANT value;
        VariantInit(&value);
        if (SUCCEEDED(folder_->GetDetailsEx(item, &kOriginalLocation, &value))) {
            std::wstring folder = value.vt == VT_BSTR && value.bstrVal ? value.bstrVal : L"";
            VariantClear(&value);
            return folder;
        }
        // Wine answers only through the column it shows.
        SHELLDETAILS details{};
        for (UINT column = 0; SUCCEEDED(folder_->GetDetailsOf(nullptr, column, &details));
             ++column) {
            SHCOLUMNID id{};
            if (SUCCEEDED(folder_->MapColumnToSCID(column, &id)) &&
                IsEqualGUID(id.fmtid, kOriginalLocation.fmtid) && id.pid == kOriginalLocation.pid) {
                Check(folder_->GetDetailsOf(item, column, &details), "IShellFolder2::GetDetailsOf");
                return TakeText(details.str, item);
            }
        }
        throw std::runtime_error("the Recycle Bin does not tell where an item came from");
    }

    static std::wstring StoredPath(PCIDLIST_ABSOLUTE item, const std::wstring& originalPath) {
        if (RunningOnWine()) {
            std::wstring stored = WineStoredPath(FileNameOf(originalPath));
            if (stored.empty()) throw std::runtime_error("listed, but not in Wine's trash");
            return stored;
        }
        std::wstring path(32768, L'\0');
        if (!SHGetPathFromIDListEx(item, path.data(), static_cast<DWORD>(path.size()),
                                   GPFIDL_DEFAULT)) {
            throw std::runtime_error("SHGetPathFromIDListEx failed for a recycled item");
        }
        path.resize(path.find(L'\0'));
        return path;
    }

    ItemList self_;
    ComPtr<IShellFolder2> folder_;
};

// Wine's shell cannot erase without asking; its trash is plain files.
void EraseFromWineTrash(const RecycledFile& file) {
    const std::wstring name = FileNameOf(file.storedPath);
    const std::wstring info = WineTrash() + L"\\info\\" + name + L".trashinfo";
    SetFileAttributesW(Extended(file.storedPath).c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(Extended(file.storedPath).c_str()) || !DeleteFileW(info.c_str())) {
        throw std::runtime_error("cannot erase from the trash: " + std::to_string(GetLastError()));
    }
}

// Whether the Recycle Bin keeps what is deleted from %TEMP%: a user may have turned
// it off for that drive, and then the shell deletes for good. Asked once, of a file
// of our own, straight through the shell.
bool RecycleBinKeepsTempFiles() {
    static const bool keeps = [] {
        TempFolder folder;
        const std::wstring probe = folder.AddFile(UniqueName(L"probe-", L".txt"));
        std::wstring from = probe + L'\0';  // the list is double-null terminated
        SHFILEOPSTRUCTW operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        if (SHFileOperationW(&operation) != 0) return true;  // no answer: no reason to skip
        const auto recycled = FindRecycled(probe);
        if (recycled) EraseRecycled(*recycled);
        return recycled.has_value();
    }();
    return keeps;
}

}  // namespace

std::optional<RecycledFile> FindRecycled(const std::wstring& originalPath) {
    const ScopedCom com;
    if (auto item = RecycleBinFolder().Find(originalPath)) {
        return RecycledFile{originalPath, std::move(item->storedPath)};
    }
    // Wine's Recycle Bin folder cuts an item's path at MAX_PATH; its trash has the file.
    if (RunningOnWine() && originalPath.size() >= MAX_PATH) {
        std::wstring stored = WineStoredPath(FileNameOf(originalPath));
        if (!stored.empty()) return RecycledFile{originalPath, std::move(stored)};
    }
    return std::nullopt;
}

void EraseRecycled(const RecycledFile& file) {
    if (RunningOnWine()) return EraseFromWineTrash(file);
    const ScopedCom com;
    const auto item = RecycleBinFolder().Find(file.originalPath);
    if (!item) throw std::runtime_error("the item left the Recycle Bin");
    ComPtr<IShellItem> shellItem;
    Check(SHCreateItemFromIDList(item->absolute.get(), IID_PPV_ARGS(&shellItem)),
          "SHCreateItemFromIDList");
    ComPtr<IFileOperation> operation;
    Check(CoCreateInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&operation)),
          "CoCreateInstance(FileOperation)");
    // Without FOF_ALLOWUNDO a delete inside the Recycle Bin is final.
    Check(operation->SetOperationFlags(FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI),
          "IFileOperation::SetOperationFlags");
    Check(operation->DeleteItem(shellItem.Get(), nullptr), "IFileOperation::DeleteItem");
    Check(operation->PerformOperations(), "IFileOperation::PerformOperations");
    BOOL aborted = FALSE;
    Check(operation->GetAnyOperationsAborted(&aborted), "IFileOperation::GetAnyOperationsAborted");
    if (aborted) throw std::runtime_error("the Recycle Bin kept the item");
}

void ExpectRecycledThenErase(const std::wstring& originalPath,
                             const std::optional<std::string>& bytes) {
    EXPECT_FALSE(PathExists(originalPath)) << "still where it was";
    const auto recycled = FindRecycled(originalPath);
    if (!recycled && !RunningOnWine() && !RecycleBinKeepsTempFiles()) {
        GTEST_SKIP() << "the Recycle Bin is turned off for the drive of %TEMP% (its \"Don't move "
                        "files to the Recycle Bin\" setting), so a recycled file cannot be found "
                        "there";
    }
    ASSERT_TRUE(recycled.has_value()) << "not in the Recycle Bin";
    if (bytes) {
        EXPECT_EQ(FileBytes(recycled->storedPath), *bytes);
    }
    EraseRecycled(*recycled);
    EXPECT_FALSE(PathExists(recycled->storedPath)) << "still in the Recycle Bin";
}

std::wstring UniqueName(const std::wstring& stem, const std::wstring& extension) {
    return stem + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount64()) + extension;
}

}  // namespace vantrel::testing
