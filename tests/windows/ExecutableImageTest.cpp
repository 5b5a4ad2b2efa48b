// Reads the built program's executable header: how it is loaded and what it needs.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tests/windows/InspectedExecutable.h"

namespace vantrel {
namespace {

using testing::InspectedExecutablePath;

class ExecutableFile {
  public:
    ExecutableFile() {
        std::ifstream in(std::filesystem::path(InspectedExecutablePath()), std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), {});
        if (bytes_.empty()) throw std::runtime_error("cannot read the program");
        const auto dos = Read<IMAGE_DOS_HEADER>(0);
        if (dos.e_magic != IMAGE_DOS_SIGNATURE) throw std::runtime_error("no MZ header");
        headersAt_ = static_cast<std::size_t>(dos.e_lfanew);
        nt_ = Read<IMAGE_NT_HEADERS64>(headersAt_);
        if (nt_.Signature != IMAGE_NT_SIGNATURE) throw std::runtime_error("no PE header");
    }

    const IMAGE_NT_HEADERS64& Headers() const { return nt_; }

    // The names of the DLLs in the import table, lower-case.
    std::vector<std::string> ImportedDlls() const {
        std::vector<std::string> names;
        const auto& table = nt_.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (std::size_t at = FileOffset(table.VirtualAddress);;
             at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            const auto import = Read<IMAGE_IMPORT_DESCRIPTOR>(at);
            if (import.Name == 0) break;
            const auto start =
                bytes_.begin() + static_cast<std::ptrdiff_t>(FileOffset(import.Name));
            std::string name(start, std::find(start, bytes_.end(), '\0'));
            std::ranges::transform(name, name.begin(), [](unsigned char c) {
                return static_cast<char>(std::tolower(c));
            });
            names.push_back(name);
        }
        return names;
    }

    bool Contains(std::string_view text) const {
        return std::search(bytes_.begin(), bytes_.end(), text.begin(), text.end()) != bytes_.end();
    }

  private:
    template <typename T>
    T Read(std::size_t offset) const {
        if (offset + sizeof(T) > bytes_.size()) throw std::out_of_range("past the end of the file");
        T value{};
        std::memcpy(&value, bytes_.data() + offset, sizeof(T));
        return value;
    }

    std::size_t FileOffset(DWORD rva) const {
        const std::size_t sections = headersAt_ + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                     nt_.FileHeader.SizeOfOptionalHeader;
        for (WORD i = 0; i < nt_.FileHeader.NumberOfSections; ++i) {
            const auto section =
                Read<IMAGE_SECTION_HEADER>(sections + i * sizeof(IMAGE_SECTION_HEADER));
            const DWORD size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + size) {
                return section.PointerToRawData + (rva - section.VirtualAddress);
            }
        }
        throw std::out_of_range("address in no section");
    }

    std::vector<char> bytes_;
    std::size_t headersAt_ = 0;
    IMAGE_NT_HEADERS64 nt_{};
};

TEST(ExecutableImage, IsA64BitWindowsProgram) {
    const ExecutableFile exe;
    EXPECT_EQ(exe.Headers().FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
    EXPECT_EQ(exe.Headers().OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
    EXPECT_EQ(exe.Headers().OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI)
        << "no console window";
    EXPECT_EQ(exe.Headers().OptionalHeader.MajorSubsystemVersion, 6)
        << "Windows 7, as the manifest";
    EXPECT_EQ(exe.Headers().OptionalHeader.MinorSubsystemVersion, 1)
        << "Windows 7, as the manifest";
}

#ifdef VANTREL_SOURCE_DATE_EPOCH
TEST(ExecutableImage, TimeStampIsTheSourceDateNotTheBuildTime) {
    EXPECT_EQ(ExecutableFile().Headers().FileHeader.TimeDateStamp,
              static_cast<DWORD>(VANTREL_SOURCE_DATE_EPOCH));
}
#endif

TEST(ExecutableImage, HoldsNoBuildFolderPath) {
    const ExecutableFile exe;
    for (const std::string folder : {VANTREL_SOURCE_DIR, VANTREL_BINARY_DIR}) {
        const std::wstring wide(folder.begin(), folder.end());
        EXPECT_FALSE(exe.Contains(folder)) << folder;
        EXPECT_FALSE(exe.Contains(
            std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t))))
            << folder << " in UTF-16";
    }
}

TEST(ExecutableImage, AsksForEveryLoaderHardening) {
    const struct {
        const char* what;
        WORD flag;
    } cases[] = {
        {"address space layout randomisation", IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE},
        {"64-bit randomisation", IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA},
        {"data execution prevention", IMAGE_DLLCHARACTERISTICS_NX_COMPAT},
        {"the system's own Windows folder under Remote Desktop",
         IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE},
    };
    const ExecutableFile exe;
    for (const auto& c : cases) {
        EXPECT_TRUE(exe.Headers().OptionalHeader.DllCharacteristics & c.flag) << c.what;
    }
#if VANTREL_INSPECTED_BY_MSVC
    // Only Visual Studio's toolchain builds the table of call targets the guard checks.
    EXPECT_TRUE(exe.Headers().OptionalHeader.DllCharacteristics &
                IMAGE_DLLCHARACTERISTICS_GUARD_CF)
        << "Control Flow Guard";
#endif
    EXPECT_GT(exe.Headers().OptionalHeader.ImageBase, 0xFFFFFFFFull) << "image base above 4 GB";
}

TEST(ExecutableImage, ImportsOnlyDllsOfTheSystem) {
    const std::set<std::string> system = {
        "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll",   "kernel32.dll",
        "msvcrt.dll",   "ole32.dll",    "oleaut32.dll", "shell32.dll", "shlwapi.dll",
        "user32.dll",   "uxtheme.dll",  "version.dll",
    };
    const auto imported = ExecutableFile().ImportedDlls();
    EXPECT_NE(std::ranges::find(imported, "kernel32.dll"), imported.end());
    for (const std::string& name : imported) {
        EXPECT_TRUE(system.contains(name) || name.starts_with("api-ms-win-crt-"))
            << name << " is not part of Windows";
    }
}

// Only a delete, a drop or a new shortcut uses them: they load then, not at start.
TEST(ExecutableImage, LeavesTheShellAndAutomationDllsToTheClicksThatUseThem) {
    const auto imported = ExecutableFile().ImportedDlls();
    for (const char* name : {"shell32.dll", "oleaut32.dll"}) {
        EXPECT_EQ(std::ranges::find(imported, name), imported.end()) << name << " loads at start";
    }
}

}  // namespace
}  // namespace vantrel
