#include "tests/windows/TempFolder.h"

#include <stdexcept>

#include "platform/win32/UniqueHandle.h"

namespace vantrel::testing {
namespace {

void Require(bool ok, const char* what) {
    if (!ok)
        throw std::runtime_error(std::string(what) + " failed: " + std::to_string(GetLastError()));
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = folder + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

void CreateParents(const std::wstring& path) {
    for (auto slash = path.find(L'\\', 7); slash != std::wstring::npos;
         slash = path.find(L'\\', slash + 1)) {
        CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    }
}

}  // namespace

std::wstring Extended(const std::wstring& path) {
    return path.starts_with(L"\\\\?\\") ? path : L"\\\\?\\" + path;
}

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH + 1];
    Require(GetTempPathW(MAX_PATH + 1, base) != 0, "GetTempPathW");
    static int serial = 0;
    path_ = std::wstring(base) + L"vantrel-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++serial);
    if (path_.back() == L'\\') path_.pop_back();
    RemoveTree(Extended(path_));
    Require(CreateDirectoryW(path_.c_str(), nullptr), "CreateDirectoryW");
}

TempFolder::~TempFolder() {
    RemoveTree(Extended(path_));
}

std::wstring TempFolder::AddFile(const std::wstring& relative, DWORD attributes,
                                 const std::string& content) {
    std::wstring path = path_ + L"\\" + relative;
    CreateParents(Extended(path));
    const HANDLE file = CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, attributes, nullptr);
    Require(file != INVALID_HANDLE_VALUE, "CreateFileW");
    DWORD written = 0;
    const BOOL ok =
        content.empty() ||
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    Require(ok, "WriteFile");
    return path;
}

std::wstring TempFolder::AddFolder(const std::wstring& relative) {
    std::wstring path = path_ + L"\\" + relative;
    CreateParents(Extended(path) + L"\\");
    return path;
}

std::string FileBytes(const std::wstring& path) {
    const HANDLE opened = CreateFileW(Extended(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open a file: " + std::to_string(GetLastError()));
    const win32::UniqueKernelHandle file(opened);
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) {
        bytes.append(chunk, read);
    }
    return bytes;
}

bool PathExists(const std::wstring& path) {
    return GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace vantrel::testing
