// Reads the manifest back from the built program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <string_view>

#include "tests/windows/InspectedExecutable.h"

namespace vantrel {
namespace {

using testing::InspectedExecutablePath;
using testing::LoadResourcesOnly;
using testing::ResourceBytes;
using testing::UniqueModule;

BOOL CALLBACK CountLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD, LONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountName(HMODULE, LPCWSTR, LPWSTR, LONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST(ApplicationManifest, IsTheOnlyManifestAndInOneLanguage) {
    const UniqueModule module = LoadResourcesOnly();
    int names = 0;
    int languages = 0;
    EnumResourceNamesW(module.get(), RT_MANIFEST, CountName, reinterpret_cast<LONG_PTR>(&names));
    EnumResourceLanguagesW(module.get(), RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID,
                           CountLanguage, reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(names, 1) << "no second manifest added by the toolchain";
    EXPECT_EQ(languages, 1);
}

TEST(ApplicationManifest, DeclaresWhatTheProgramNeeds) {
    const struct {
        const char* what;
        const char* text;
    } cases[] = {
        {"identity", R"(name="Vantrel" version=")" VANTREL_VERSION_QUAD "\""},
        {"no elevation", R"(level="asInvoker" uiAccess="false")"},
        {"visual styles", R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"},
        {"DPI awareness before Windows 10 1607", ">true/pm</dpiAware>"},
        {"per-monitor DPI awareness v2", ">PerMonitorV2</dpiAwareness>"},
        {"long paths", ">true</longPathAware>"},
        {"Windows 7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
        {"Windows 8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
        {"Windows 8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
        {"Windows 10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
    };
    const UniqueModule module = LoadResourcesOnly();
    const std::string_view manifest =
        ResourceBytes(module.get(), RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
    ASSERT_FALSE(manifest.empty());
    for (const auto& c : cases) {
        EXPECT_NE(manifest.find(c.text), std::string_view::npos) << c.what << ": " << c.text;
    }
}

TEST(ApplicationManifest, LoaderAcceptsIt) {
    const std::wstring path = InspectedExecutablePath();
    ACTCTXW context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path.c_str();
    context.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    const HANDLE activation = CreateActCtxW(&context);
    EXPECT_NE(activation, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    if (activation != INVALID_HANDLE_VALUE) ReleaseActCtx(activation);
}

}  // namespace
}  // namespace vantrel
