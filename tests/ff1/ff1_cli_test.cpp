#include <gtest/gtest.h>

#include "ff1_test_support.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::test {
namespace {

// The folder separator the FF1 link adds to a folder it names: "\\" on Windows.
const std::string kSeparator(1, static_cast<char>(std::filesystem::path::preferred_separator));

class Ff1Cli : public ::testing::Test {
protected:
    Ff1Cli() {
        writeBytes(ff1 / "G_FF1_202404.txt",
                   sjisLines({u"施設コード\tID\t年月\tコード\t連番\tP1\tP2\tP3\tP4\tP5\tP6\tP7\tP8\tP9",
                              ff1Line(u"A", u"202404", u"CPF0001", payloads({u"170", u"60.5"})),
                              ff1Line(u"A", u"202404", u"CPP0001", payloads({u"", u"", u"1000001"}))}));
    }
    std::string folder() const { return utf8(ff1.path()); }
    std::string out() const { return utf8(work / "out"); }

    TempDir ff1;
    TempDir work;
};

TEST_F(Ff1Cli, LinksWithTheShippedSpecificationCsvAndRemovesTheMergedFile) {
    const auto result = runCli({"ff1", folder(), "--month", "202404", "-o", out()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, utf8(work / "out" / "202404_ff1all.csv") + "\n");
    const auto lines = linesOf(readBytes(work / "out" / "202404_ff1all.csv"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].starts_with(u"[0] カルテ番号,[1] 患者氏名,[2] 診療年月日,[3] 郵便番号,[4] 身長,"));
    EXPECT_TRUE(lines[0].ends_with(u",[87] 入院のICD10コード,[88] 入院の修飾語コード"));
    EXPECT_EQ(lines[1], u"A,,20240401,1000001,170,60.5" + std::u16string(83, u','));
    EXPECT_EQ(listFolder(ff1.path()), std::vector<std::string>{"G_FF1_202404.txt"});
}

// Refused before anything is touched: a month that is no YYYYMM with a month from 01 to
// 12, and an append file that is not there. A missing --month is wrong usage.
TEST_F(Ff1Cli, ABadMonthOrAMissingAppendFileIsRefusedAndAMissingMonthIsWrongUsage) {
    writeBytes(ff1 / "G_FF1_all.txt", "left by an earlier run");
    const std::string prompt = "連携ファイル該当年月を入力してください\n";
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--month", "  "}, prompt},
        {{"--month", "202499"}, prompt},
        {{"--month", "202400"}, prompt},
        {{"--month", "2024/4"}, prompt},
        {{"--month", "2024/04"}, prompt},
        {{"--month", "..\\x"}, prompt},
        {{"--month", "2024041"}, prompt},
        {{"--month", "202404", "--append", utf8(work / "gone.csv")}, "ファイルがありません。\n"},
        {{"--month", "202404", "--append", utf8(work.path())}, "ファイルがありません。\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"ff1", folder(), "-o", out()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto result = runCli(args);
        EXPECT_EQ(result.status, 1) << c.args[1];
        EXPECT_EQ(result.err, c.message) << c.args[1];
        EXPECT_EQ(readBytes(ff1 / "G_FF1_all.txt"), "left by an earlier run");  // nothing touched
    }
    EXPECT_EQ(runCli({"ff1", folder()}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(work / "out"));
    // A blank append path names no file: the run goes on without it; the month is trimmed.
    const auto blankAppend = runCli({"ff1", folder(), "--month", " 202412 ", "--append", " ", "-o", out()});
    EXPECT_EQ(blankAppend.status, 0) << blankAppend.err;
    EXPECT_EQ(blankAppend.out, utf8(work / "out" / "202412_ff1all.csv") + "\n");
}

TEST_F(Ff1Cli, ErrorsOfTheRunAreReportedAsTheWindowShowsThemAndLeaveNoMergedFile) {
    writeBytes(ff1 / "spec.csv", sjisLines({u"ヘッダー名称,コード,ペイロード番号"}));
    writeBytes(work / "add.csv", sjisLines({u"h", u"B,,20240501"}));
    const struct {
        std::vector<std::string> args;
        std::u16string error;
    } cases[] = {
        {{"--month", "202404", "--spec", utf8(work / "none.csv")},
         u"ファイル \"" + fromPath(work / "none.csv") + u"\" を開けません"},
        {{"--month", "202404", "--spec", utf8(ff1 / "spec.csv"), "--append", utf8(work / "add.csv")},
         u"追記ファイルの診療年月日が異なります。元ファイル=20240401, 追記ファイル=20240501"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"ff1", folder(), "-o", out()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto result = runCli(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "エラーが発生しました:" + utf16ToUtf8(c.error) + "\n");
        EXPECT_TRUE(result.out.empty());
        EXPECT_EQ(listFolder(ff1.path()), (std::vector<std::string>{"G_FF1_202404.txt", "spec.csv"}));
    }
    EXPECT_FALSE(std::filesystem::exists(work / "out"));
}

TEST_F(Ff1Cli, AnFF1FolderWithoutFF1FilesReportsTheFolderWithItsSeparator) {
    TempDir empty;
    writeBytes(empty / "G_FF1_all.txt", "stale merged file");
    const auto result = runCli({"ff1", utf8(empty.path()), "--month", "202404", "-o", out()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "エラーが発生しました:G_FF1*.txt / G_FF1*.tsv が見つかりません：" + utf8(empty.path()) +
                              kSeparator + "\n");
    EXPECT_TRUE(listFolder(empty.path()).empty());
    const auto missing = runCli({"ff1", utf8(work / "gone"), "--month", "202404"});
    EXPECT_EQ(missing.err,
              "エラーが発生しました:入力フォルダが見つかりません：" + utf8(work / "gone") + kSeparator + "\n");
}

TEST_F(Ff1Cli, MergeWritesTheMergedFileAndPrintsItsPath) {
    const auto target = work / "merged" / "all.txt";
    const auto result = runCli({"ff1-merge", folder(), utf8(target)});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, utf8(target) + "\n");
    EXPECT_EQ(readBytes(target), readBytes(ff1 / "G_FF1_202404.txt"));
    const auto failed = runCli({"ff1-merge", utf8(work / "gone"), utf8(target)});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "入力フォルダが見つかりません：" + utf8(work / "gone") + kSeparator + ".\n");
}

}  // namespace
}  // namespace vask::test
