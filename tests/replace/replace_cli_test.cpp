#include <gtest/gtest.h>

#include "../support/test_support.h"

namespace vask {
namespace {

using test::listFolder;
using test::readBytes;
using test::runCli;
using test::TempDir;
using test::utf8;
using test::writeBytes;

class ReplaceCli : public ::testing::Test {
protected:
    ReplaceCli() {
        writeBytes(in / "FF1_2024.txt", "H\theader\r\nA\t123\t123\r\n");
        writeBytes(in / "defs.csv", "123,456\r\n");
    }
    std::string path(const char* name) const { return utf8(in / name); }
    TempDir in;
    TempDir out;
};

TEST_F(ReplaceCli, WritesTheCopyIntoOutdirOrTheWorkingFolderAndPrintsItsPath) {
    const auto result = runCli({"replace", path("FF1_2024.txt"), path("defs.csv"), "-o", utf8(out.path())});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, utf8(out / "FF1_2024R.txt") + "\n");
    EXPECT_EQ(readBytes(out / "FF1_2024R.txt"), "H\theader\r\nA\t456\t456\r\n");
    EXPECT_EQ(readBytes(in / "FF1_2024.txt"), "H\theader\r\nA\t123\t123\r\n");
    TempDir working;
    EXPECT_EQ(runCli({"replace", path("FF1_2024.txt"), path("defs.csv")}, working.path()).status, 0);
    EXPECT_EQ(listFolder(working.path()), std::vector<std::string>{"FF1_2024R.txt"});
}

TEST_F(ReplaceCli, RefusalsPrintTheWindowsMessageAndWriteNothing) {
    writeBytes(in / "empty.txt", "");
    struct Case {
        std::string data;
        std::string definitions;
        std::string message;
    };
    const Case cases[] = {
        {path("FF1_2024.txt"), path("missing.csv"), "変更定義ファイルがファイルがありません。\n"},
        {path("missing.txt"), path("missing.csv"), "変更定義ファイルがファイルがありません。\n"},
        {path("missing.txt"), path("defs.csv"), "ファイルがありません。\n"},
        {path("empty.txt"), path("defs.csv"), "正しいFFファイルではありません。\n"},
    };
    for (const auto& c : cases) {
        const auto result = runCli({"replace", c.data, c.definitions, "-o", utf8(out.path())});
        EXPECT_EQ(result.status, 1) << c.data;
        EXPECT_EQ(result.err, c.message) << c.data;
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_TRUE(listFolder(out.path()).empty());
    EXPECT_EQ(runCli({"replace", path("FF1_2024.txt")}).status, 2);
}

}  // namespace
}  // namespace vask
