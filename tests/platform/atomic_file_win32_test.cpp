// The Windows side of the atomic writer: the temporary file is hidden in the target's
// folder, the finished output is not, a target that another program holds open (a CSV
// open in a spreadsheet) is left as it is, and one held only for a moment (a virus scanner
// reading it) is replaced once it is let go.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "../support/brief_hold_win32.h"
#include "../support/test_support.h"
#include "platform/atomic_file.h"
#include "platform/errors.h"

namespace vask {
namespace {

using test::listFolder;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

DWORD attributes(const std::filesystem::path& file) { return GetFileAttributesW(file.c_str()); }

TEST(AtomicFileOnWindows, TheTemporaryFileIsHiddenAndTheOutputIsNot) {
    TempDir dir;
    writeBytes(dir / "old.csv", "old");
    for (const char* name : {"new.csv", "old.csv"}) {
        AtomicFile file(dir / name);
        file.write("data");
        const auto names = listFolder(dir.path());
        const auto temp =
            std::find_if(names.begin(), names.end(), [](const auto& n) { return n.starts_with("~vask-"); });
        ASSERT_NE(temp, names.end()) << "no temporary file beside " << name;
        EXPECT_TRUE(attributes(dir / *temp) & FILE_ATTRIBUTE_HIDDEN);
        file.commit();
        EXPECT_EQ(attributes(dir / name) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY), 0u) << name;
        EXPECT_EQ(readBytes(dir / name), "data");
    }
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"new.csv", "old.csv"}));
}

TEST(AtomicFileOnWindows, ATargetOpenInAnotherProgramIsKeptAndNoTemporaryFileStays) {
    TempDir dir;
    writeBytes(dir / "open.csv", "old");
    const std::filesystem::path target = dir / "open.csv";
    const HANDLE held = CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_THROW(writeFileAtomically(target, "new"), Error);
    CloseHandle(held);
    EXPECT_EQ(readBytes(target), "old");
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"open.csv"});
}

TEST(AtomicFileOnWindows, ATargetHeldForAMomentIsReplacedOnceItIsLetGo) {
    TempDir dir;
    const std::filesystem::path target = dir / "scanned.csv";
    writeBytes(target, "old");
    test::BriefHold scanner(target, std::chrono::milliseconds(300));
    ASSERT_TRUE(scanner.held());
    writeFileAtomically(target, "new");
    EXPECT_EQ(readBytes(target), "new");
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"scanned.csv"});
}

}  // namespace
}  // namespace vask
