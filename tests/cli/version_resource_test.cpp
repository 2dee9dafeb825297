// vask-cli.exe's version resource, as Explorer's Properties > Details reads it: the same
// "Ver.1.1.0.6" as the main window shows.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/test_support.h"

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
    EXPECT_EQ(text(L"FileVersion"), L"Ver.1.1.0.6");
    EXPECT_EQ(text(L"ProductVersion"), L"Ver.1.1.0.6");
}

TEST_F(VersionResource, NamesTheProgramInJapanese) {
    EXPECT_EQ(text(L"ProductName"), L"VELTサポートツール");
    EXPECT_EQ(text(L"FileDescription"), L"VELTサポートツール コマンドライン版");
    EXPECT_EQ(text(L"OriginalFilename"), L"vask-cli.exe");
}

}  // namespace
}  // namespace vask
