#pragma once

#include <windows.h>

#include <string>

namespace vantrel::testing {

// A fresh folder under %TEMP%, removed with everything in it at the end of the test.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }

    // Creates a file (and any missing parent folders) below the folder; returns its path.
    std::wstring AddFile(const std::wstring& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL,
                         const std::string& content = {});
    std::wstring AddFolder(const std::wstring& relative);

  private:
    std::wstring path_;
};

// "\\?\" form, so the helpers reach names with trailing dots and spaces and long paths.
std::wstring Extended(const std::wstring& path);

// The bytes of one file; throws when it cannot be read.
std::string FileBytes(const std::wstring& path);

bool PathExists(const std::wstring& path);

}  // namespace vantrel::testing
