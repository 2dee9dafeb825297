#include <gtest/gtest.h>

#include <filesystem>

#include "../support/test_support.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask {
namespace {

using test::readBytes;
using test::runCli;
using test::sjis;
using test::utf8;

TEST(Cli, WrongUsageExitsWithTwoAndTheUsageText) {
    for (const auto& args : std::vector<std::vector<std::string>>{{}, {"no-such-command"}}) {
        const auto result = runCli(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("usage: vask-cli"), std::string::npos);
        EXPECT_TRUE(result.out.empty());
    }
}

TEST(Cli, HelpPrintsTheUsageOnStandardOutput) {
    const auto result = runCli({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("usage: vask-cli"), std::string::npos);
}

// A deep folder (a synchronised folder with long Japanese names) puts both the input and
// the output beyond the 260 characters of a plain Windows path. The paths are given as a
// user may type them: relative, with "/" and a "..".
TEST(Cli, FilesInFoldersDeeperThan260CharactersAreReadAndWritten) {
    test::TempDir dir;
    std::string deep;  // as given: relative, with "/"
    std::filesystem::path folder = dir.path();
    for (const char* level : {"医療法人社団　山田内科クリニック　令和六年度診療報酬請求データ保管用フォルダ",
                              "社会保険診療報酬支払基金提出分　電子レセプト請求データ一式",
                              "国民健康保険団体連合会提出分　電子レセプト請求データ一式",
                              "令和六年四月診療分　提出前確認済み　原本　複製禁止　保管用",
                              "提出用データ　作業中　担当者確認待ち　事務長最終確認待ち",
                              "返戻分　再請求用　令和六年五月提出予定　担当者確認済み",
                              "月遅れ請求分　令和六年三月以前診療分　医事課作業用フォルダ",
                              "一次点検済み　二次点検待ち　院長確認待ち　提出前最終確認"}) {
        deep += (deep.empty() ? "" : "/") + std::string(level);
        folder /= toPath(utf8ToUtf16(level));
    }
    for (const char* name : {"入力", "作業", "出力"})
        std::filesystem::create_directories(folder / toPath(utf8ToUtf16(name)));
    const std::filesystem::path output = folder / toPath(u"出力") / "50611_1.UKE";
    ASSERT_GT(fromPath(output.parent_path()).size(), 260u);
    test::writeBytes(folder / toPath(u"入力") / toPath(u"社保.UKE"),
                     sjis(u"IR,1,13,1,7654321,,山田内科,50611,00,03-1111-2222\r\n"
                          u"RE,1,1127,50611,山田　太郎,1,3010101,,,,,,,0012345-01\r\n\x1a"));
    const auto result = runCli({"anonymize", deep + "/入力/社保.UKE", "-o", deep + "/作業/../出力"}, dir.path());
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, utf8(output) + "\n");
    EXPECT_TRUE(result.err.empty()) << result.err;
    EXPECT_EQ(readBytes(output), sjis(u"IR,1,13,1,0123456,,VELTクリニック,50611,00,012-345-6789\r\n"
                                      u"RE,1,1127,50611,テスト社１,1,3010101,,,,,,,0012345-01\r\n"));
}

}  // namespace
}  // namespace vask
