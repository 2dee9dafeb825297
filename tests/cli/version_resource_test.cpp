// vask-cli.exe's version resource, as Explorer's Properties > Details reads it: "Ver." and
// the project version, as the main window shows. And the application manifest of
// vask-cli.exe and vask.exe, as Windows reads it when it starts them.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../support/test_support.h"
#include "vask_version.h"

namespace vask {
namespace {

class VersionResource : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring file = test::cliProgram().native();
        DWORD ignored = 0;
        data_.resize(GetFileVersionInfoSizeW(file.c_str(), &ignored));
        ASSERT_FALSE(data_.empty()) << "no version resource";
        ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data_.size()), data_.data()));
    }
    // A value of the Japanese string table, or "(none)".
    std::wstring text(const wchar_t* name) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
        if (!VerQueryValueW(data_.data(), key.c_str(), &value, &length) || length == 0) return L"(none)";
        return static_cast<const wchar_t*>(value);
    }

    std::vector<char> data_;
};

TEST_F(VersionResource, ShowsTheProgramVersion) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data_.data(), L"\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 1));  // 1.1
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(6, 0));  // .0.6
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(text(L"FileVersion"), L"" VASK_VERSION_TEXT);
    EXPECT_EQ(text(L"ProductVersion"), L"" VASK_VERSION_TEXT);
}

TEST_F(VersionResource, NamesTheProgramInJapanese) {
    EXPECT_EQ(text(L"ProductName"), L"VELTサポートツール");
    EXPECT_EQ(text(L"FileDescription"), L"VELTサポートツール コマンドライン版");
    EXPECT_EQ(text(L"OriginalFilename"), L"vask-cli.exe");
}

// The RT_MANIFEST resources of a program, by number, each as its text.
struct ManifestResource {
    ULONG_PTR number;  // the one Windows reads when it starts a program is 1
    std::string text;
};

BOOL CALLBACK addManifest(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR found) {
    const HRSRC resource = FindResourceExW(module, type, name, language);
    const char* text = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    const ULONG_PTR number = IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : 0;
    reinterpret_cast<std::vector<ManifestResource>*>(found)->push_back(
        {number, std::string(text, SizeofResource(module, resource))});
    return TRUE;
}

BOOL CALLBACK addManifestsNamed(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR found) {
    return EnumResourceLanguagesW(module, type, name, addManifest, found);
}

std::vector<ManifestResource> manifestResources(const std::filesystem::path& program) {
    std::vector<ManifestResource> found;
    const HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return found;
    EnumResourceNamesW(module, RT_MANIFEST, addManifestsNamed, reinterpret_cast<LONG_PTR>(&found));
    FreeLibrary(module);
    return found;
}

// A setting of the program's manifest, read by Windows itself; "(none)" when it has none.
std::wstring manifestSetting(const std::filesystem::path& program, const wchar_t* space, const wchar_t* name) {
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = program.c_str();
    request.lpResourceName = MAKEINTRESOURCEW(1);
    const HANDLE context = CreateActCtxW(&request);
    if (context == INVALID_HANDLE_VALUE) return L"(no manifest that Windows takes)";
    wchar_t value[64] = {};
    SIZE_T length = 0;
    const bool found = QueryActCtxSettingsW(0, context, space, name, value, 64, &length);
    ReleaseActCtx(context);
    return found ? value : L"(none)";
}

// vask.exe beside the test, or the one named by VASK_GUI (the packed one, in the lane).
std::filesystem::path guiProgram() {
    if (const wchar_t* named = _wgetenv(L"VASK_GUI"); named && *named) return std::filesystem::absolute(named);
#ifdef VASK_PROGRAM
    return std::filesystem::absolute(VASK_PROGRAM);
#else
    return {};
#endif
}

// One manifest, number 1 (a second one, such as a toolchain's default manifest in another
// language, would leave it to chance which one counts): paths longer than 260 characters,
// Windows 10 and 11, and no code page of its own, so that the ANSI code page stays the
// system's (932 on the clinics' PCs).
TEST(Manifest, BothProgramsTakeLongPathsAndKeepTheSystemCodePage) {
    const std::filesystem::path gui = guiProgram();
    for (const std::filesystem::path& program : {test::cliProgram(), gui}) {
        if (program.empty()) continue;  // a build without the desktop program
        SCOPED_TRACE(test::utf8(program));
        const auto found = manifestResources(program);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].number, 1u);
        EXPECT_NE(found[0].text.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"),
                  std::string::npos);
        EXPECT_EQ(manifestSetting(program, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"longPathAware"),
                  L"true");
        EXPECT_EQ(manifestSetting(program, L"http://schemas.microsoft.com/SMI/2019/WindowsSettings", L"activeCodePage"),
                  L"(none)");
        EXPECT_EQ(found[0].text.find("activeCodePage"), std::string::npos);
    }
}

}  // namespace
}  // namespace vask
