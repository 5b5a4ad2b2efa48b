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

// What the tests read of a 32-bit or a 64-bit image's headers.
struct ImageHeaders {
    IMAGE_FILE_HEADER file;
    WORD magic;
    WORD subsystem;
    WORD majorSubsystemVersion;
    WORD minorSubsystemVersion;
    WORD dllCharacteristics;
    ULONGLONG imageBase;
    IMAGE_DATA_DIRECTORY imports;
};

template <typename OptionalHeader>
ImageHeaders HeadersFrom(const IMAGE_FILE_HEADER& file, const OptionalHeader& optional) {
    return {file,
            optional.Magic,
            optional.Subsystem,
            optional.MajorSubsystemVersion,
            optional.MinorSubsystemVersion,
            optional.DllCharacteristics,
            optional.ImageBase,
            optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT]};
}

class ExecutableFile {
  public:
    explicit ExecutableFile(const std::wstring& path = InspectedExecutablePath()) {
        std::ifstream in(std::filesystem::path(path), std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), {});
        if (bytes_.empty()) throw std::runtime_error("cannot read the program");
        const auto dos = Read<IMAGE_DOS_HEADER>(0);
        if (dos.e_magic != IMAGE_DOS_SIGNATURE) throw std::runtime_error("no MZ header");
        const auto at = static_cast<std::size_t>(dos.e_lfanew);
        if (Read<DWORD>(at) != IMAGE_NT_SIGNATURE) throw std::runtime_error("no PE header");
        const auto file = Read<IMAGE_FILE_HEADER>(at + sizeof(DWORD));
        const std::size_t optionalAt = at + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);
        headers_ = Read<WORD>(optionalAt) == IMAGE_NT_OPTIONAL_HDR64_MAGIC
                       ? HeadersFrom(file, Read<IMAGE_OPTIONAL_HEADER64>(optionalAt))
                       : HeadersFrom(file, Read<IMAGE_OPTIONAL_HEADER32>(optionalAt));
        sectionsAt_ = optionalAt + file.SizeOfOptionalHeader;
    }

    const ImageHeaders& Headers() const { return headers_; }

    // The names of the DLLs in the import table, lower-case.
    std::vector<std::string> ImportedDlls() const {
        std::vector<std::string> names;
        for (std::size_t at = FileOffset(headers_.imports.VirtualAddress);;
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
        for (WORD i = 0; i < headers_.file.NumberOfSections; ++i) {
            const auto section =
                Read<IMAGE_SECTION_HEADER>(sectionsAt_ + i * sizeof(IMAGE_SECTION_HEADER));
            const DWORD size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + size) {
                return section.PointerToRawData + (rva - section.VirtualAddress);
            }
        }
        throw std::out_of_range("address in no section");
    }

    std::vector<char> bytes_;
    std::size_t sectionsAt_ = 0;
    ImageHeaders headers_{};
};

// The program is built by the compiler that built these tests, for the same machine.
#ifdef _WIN64
constexpr WORD kMachine = IMAGE_FILE_MACHINE_AMD64;
constexpr WORD kOptionalHeaderMagic = IMAGE_NT_OPTIONAL_HDR64_MAGIC;
#else
constexpr WORD kMachine = IMAGE_FILE_MACHINE_I386;
constexpr WORD kOptionalHeaderMagic = IMAGE_NT_OPTIONAL_HDR32_MAGIC;
#endif

TEST(ExecutableImage, IsAWindowsProgramForTheBuildsMachine) {
    const ExecutableFile exe;
    EXPECT_EQ(exe.Headers().file.Machine, kMachine);
    EXPECT_EQ(exe.Headers().magic, kOptionalHeaderMagic);
    EXPECT_EQ(exe.Headers().subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI) << "no console window";
    EXPECT_EQ(exe.Headers().majorSubsystemVersion, 6) << "Windows 7, as the manifest";
    EXPECT_EQ(exe.Headers().minorSubsystemVersion, 1) << "Windows 7, as the manifest";
}

#ifdef VANTREL_SOURCE_DATE_EPOCH
TEST(ExecutableImage, TimeStampIsTheSourceDateNotTheBuildTime) {
    EXPECT_EQ(ExecutableFile().Headers().file.TimeDateStamp,
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
        {"data execution prevention", IMAGE_DLLCHARACTERISTICS_NX_COMPAT},
        {"the system's own Windows folder under Remote Desktop",
         IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE},
    };
    const ExecutableFile exe;
    for (const auto& c : cases) {
        EXPECT_TRUE(exe.Headers().dllCharacteristics & c.flag) << c.what;
    }
#ifdef _WIN64
    EXPECT_TRUE(exe.Headers().dllCharacteristics & IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA)
        << "64-bit randomisation";
    EXPECT_GT(exe.Headers().imageBase, 0xFFFFFFFFull) << "image base above 4 GB";
#else
    EXPECT_TRUE(exe.Headers().file.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE)
        << "4 GB of address space under 64-bit Windows";
#endif
#if VANTREL_INSPECTED_BY_MSVC
    // Only Visual Studio's toolchain builds the table of call targets the guard checks.
    EXPECT_TRUE(exe.Headers().dllCharacteristics & IMAGE_DLLCHARACTERISTICS_GUARD_CF)
        << "Control Flow Guard";
#endif
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
    // Only a delete, a drop or a new shortcut uses them: they load then, not at start.
    for (const char* name : {"shell32.dll", "oleaut32.dll"}) {
        EXPECT_EQ(std::ranges::find(imported, name), imported.end()) << name << " loads at start";
    }
}

#ifdef VANTREL_COMPARED_EXE
// The other machine's build of the same sources: all but the machine is the same.
std::wstring ComparedExecutablePath() {
    std::wstring path = L"" VANTREL_COMPARED_EXE;
    std::ranges::replace(path, L'/', L'\\');
    return path;
}

// As on a Windows the build folder's test bundle runs on, or before that build.
constexpr char kNotBuilt[] = "the other machine's build is not there to compare with";

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::ranges::sort(names);
    return names;
}

TEST(ExecutableImage, LoadsAsTheOtherMachinesBuildDoes) {
    if (!std::filesystem::exists(ComparedExecutablePath())) GTEST_SKIP() << kNotBuilt;
    const ExecutableFile ours;
    const ExecutableFile theirs(ComparedExecutablePath());
    EXPECT_NE(ours.Headers().file.Machine, theirs.Headers().file.Machine) << "not the other build";
    EXPECT_EQ(ours.Headers().subsystem, theirs.Headers().subsystem);
    EXPECT_EQ(ours.Headers().majorSubsystemVersion, theirs.Headers().majorSubsystemVersion);
    EXPECT_EQ(ours.Headers().minorSubsystemVersion, theirs.Headers().minorSubsystemVersion);
    // 64-bit randomisation exists for 64-bit images only.
    const int shared = ~IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA;
    EXPECT_EQ(ours.Headers().dllCharacteristics & shared,
              theirs.Headers().dllCharacteristics & shared);
    EXPECT_EQ(Sorted(ours.ImportedDlls()), Sorted(theirs.ImportedDlls()));
}

TEST(ExecutableImage, CarriesTheOtherMachinesBuildsResources) {
    if (!std::filesystem::exists(ComparedExecutablePath())) GTEST_SKIP() << kNotBuilt;
    const testing::UniqueModule ours = testing::LoadResourcesOnly();
    const testing::UniqueModule theirs = testing::LoadResourcesOnly(ComparedExecutablePath());
    const auto expectSame = [&](LPCWSTR type, WORD id, const char* what) {
        const auto bytes = testing::ResourceBytes(ours.get(), type, MAKEINTRESOURCEW(id));
        EXPECT_FALSE(bytes.empty()) << what << " " << id;
        EXPECT_EQ(bytes, testing::ResourceBytes(theirs.get(), type, MAKEINTRESOURCEW(id)))
            << what << " " << id;
    };
    expectSame(RT_MANIFEST, 1, "manifest");
    expectSame(RT_VERSION, 1, "version information");
    expectSame(RT_GROUP_ICON, 1, "icon group");
    // The group's entries (14 bytes each, after a 6-byte header) end in their icon's id.
    const auto group = testing::ResourceBytes(ours.get(), RT_GROUP_ICON, MAKEINTRESOURCEW(1));
    for (std::size_t i = 0; i < std::size_t{testing::ReadAt<WORD>(group, 4)}; ++i) {
        expectSame(RT_ICON, testing::ReadAt<WORD>(group, 6 + 14 * i + 12), "icon");
    }
}
#endif

}  // namespace
}  // namespace vantrel
