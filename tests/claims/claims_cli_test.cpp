// vask-cli anonymize and strip-branch, run as a user runs them.
#include <gtest/gtest.h>

#include "claims_fixture.h"
#include "core/pseudonym.h"
#include "core/text_formats.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::test {
namespace {

class ClaimsCli : public ClaimsFiles {
protected:
    std::string in() const { return utf8(input()); }
    std::string out() const { return utf8(programFolder.path()); }
    // Expects a refusal or an error: status 1, `message` on standard error, nothing written.
    void expectFailure(const std::vector<std::string>& args, const std::string& message) {
        const auto result = runCli(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, message + "\n");
        EXPECT_TRUE(result.out.empty());
        EXPECT_TRUE(listFolder(programFolder.path()).empty());
    }
};

TEST_F(ClaimsCli, AnonymizePrintsTheWrittenFile) {
    write({clinicRecord(u"2"), u"RE,7,a,b,名前", u"CO,x"});
    const auto result = runCli({"anonymize", in(), "-o", out()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, utf8(programFolder / "50611_2.UKE") + "\n");
    EXPECT_TRUE(result.err.empty());
    EXPECT_EQ(output("50611_2.UKE"),
              sjisLines({u"IR,2,13,1,0123456,,VELTクリニック,50611,00,012-345-6789", u"RE,7,a,b,テスト国７"}));
}

TEST_F(ClaimsCli, TheOutputFolderDefaultsToTheCurrentFolder) {
    write({clinicRecord()});
    const auto result = runCli({"strip-branch", in()}, programFolder.path());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, utf8(programFolder / "(50611提出_社保)RECEIPTC.uke") + "\n");
}

TEST_F(ClaimsCli, StripBranchModes) {
    struct Case {
        std::vector<std::string> options;
        std::u16string chart;
    };
    const Case cases[] = {
        {{}, u"0012345"},
        {{"--mode", "symbols"}, u"0012345"},
        {{"--mode", "positions", "--from", " 3", "--to", "7 "}, u"12345"},
        {{"--mode", "none", "--from", "x"}, u"0012345-01"},
    };
    write({clinicRecord(), u"RE,1,2,3,4,5,6,7,8,9,10,11,12,0012345-01"});
    for (const auto& c : cases) {
        std::vector<std::string> args = {"strip-branch", in(), "-o", out()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto result = runCli(args);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, utf8(programFolder / "(50611提出_社保)RECEIPTC.uke") + "\n");
        EXPECT_EQ(output("(50611提出_社保)RECEIPTC.uke"),
                  sjisLines({clinicRecord(), u"RE,1,2,3,4,5,6,7,8,9,10,11,12," + c.chart}));
        // The written file is checked for submission: one warning line, the faults being
        // the input's own.
        EXPECT_TRUE(result.err.starts_with("警告: 提出用ファイルの点検で問題が")) << result.err;
        EXPECT_NE(result.err.find("元のファイルにもある問題です"), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1);
    }
    // The good file of the layout's tests passes, its kana name with a blank unquoted.
    const auto good =
        runCli({"strip-branch", utf8(std::filesystem::path(VASK_CLAIMS_FIXTURES) / "LAYOUT_GOOD.UKE"), "-o", out()});
    EXPECT_EQ(good.status, 0);
    EXPECT_TRUE(good.err.empty()) << good.err;
}

TEST_F(ClaimsCli, JapaneseFileAndFolderNamesPassThroughArgumentsAndOutput) {
    const auto claims = inputs / "社保 レセプト.UKE";
    writeBytes(claims, claimsBytes({clinicRecord(u"2")}));
    const auto folder = programFolder / "出力 フォルダ";
    std::filesystem::create_directory(folder);
    const auto result = runCli({"anonymize", utf8(claims), "-o", utf8(folder)});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, utf8(folder / "50611_2.UKE") + "\n");
    EXPECT_EQ(listFolder(folder), std::vector<std::string>{"50611_2.UKE"});
    // An error names the file in the folder that is not there.
    const auto missing = runCli({"anonymize", utf8(claims), "-o", utf8(folder / toPath(u"無い"))});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.starts_with("ファイル \"" + utf8(folder / toPath(u"無い") / ""))) << missing.err;
}

TEST_F(ClaimsCli, RefusalsAndErrorsPrintTheirMessageAndWriteNothing) {
    expectFailure({"anonymize", utf8(inputs / "none.UKE"), "-o", out()}, "ファイルがありません。");
    write({clinicRecord()});
    expectFailure({"strip-branch", in(), "--mode", "positions", "--from", "3", "-o", out()}, "値が空欄です");
    expectFailure({"strip-branch", in(), "--mode", "positions", "--from", "3", "--to", "x", "-o", out()},
                  "正しい数字を入力して下さい");
    write({clinicRecord(), u"HO,1"});
    expectFailure({"anonymize", in(), "-o", out()}, "リストのインデックスが範囲を超えています (2)");
    write({u"IR,1,2"});
    expectFailure({"strip-branch", in(), "-o", out()}, "リストのインデックスが範囲を超えています (7)");
}

TEST_F(ClaimsCli, AnOutputFolderThatCannotBeWrittenIsAnError) {
    write({clinicRecord()});
    writeBytes(inputs / "plain", "x");
    const auto result = runCli({"anonymize", in(), "-o", utf8(inputs / "plain" / "out")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("を作成できません."), std::string::npos);
    EXPECT_EQ(listFolder(inputs.path()), (std::vector<std::string>{"in.UKE", "plain"}));
}

TEST_F(ClaimsCli, CheckAnonymizedExitsByWhatItFinds) {
    // The patient's name stands in a comment of an SI record, which the anonymiser keeps.
    write({clinicRecord(), u"RE,1,1112,50611,山田　太郎", u"SI,11,1,112007410,,,1,,,山田様"});
    const auto anonymize = runCli({"anonymize", in(), "-o", out()});
    EXPECT_EQ(anonymize.status, 0);
    EXPECT_EQ(anonymize.out, utf8(programFolder / "50611_1.UKE") + "\n");
    EXPECT_NE(anonymize.err.find("警告: "), std::string::npos) << anonymize.err;
    EXPECT_EQ(anonymize.err.find('\n'), anonymize.err.size() - 1);  // one line
    const std::string written = utf8(programFolder / "50611_1.UKE");
    const auto found = runCli({"check-anonymized", in(), written});
    EXPECT_EQ(found.status, 3);
    EXPECT_NE(found.out.find("1件\n  3行目 SIレコード: 患者氏名が残っています\n"), std::string::npos) << found.out;
    EXPECT_EQ(found.out.find("山田"), std::string::npos);
    EXPECT_TRUE(found.err.empty());

    write({clinicRecord(), u"RE,1,1112,50611,山田　太郎", u"SI,11,1,112007410"});
    const auto clean = runCli({"anonymize", in(), "-o", out()});
    EXPECT_EQ(clean.status, 0);
    EXPECT_TRUE(clean.err.empty()) << clean.err;
    const auto passed = runCli({"check-anonymized", in(), written});
    EXPECT_EQ(passed.status, 0);
    EXPECT_NE(passed.out.find("結果: 問題はありません\n"), std::string::npos) << passed.out;

    const auto missing = runCli({"check-anonymized", in(), utf8(programFolder / "none.UKE")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_NE(missing.err.find("none.UKE"), std::string::npos) << missing.err;
    EXPECT_EQ(runCli({"check-anonymized", in()}).status, 2);
}

// The kind of the original is told by content, or named by --kind; a record the check does
// not know makes the verdict a warning; an original with nothing to search passes and says
// why; one without any record the check knows cannot be checked.
TEST_F(ClaimsCli, CheckAnonymizedTellsKindsByContentAndSaysWhatItDidNotCheck) {
    const std::u16string anonymisedClinic = u"IR,1,13,1,0123456,,VELTクリニック,50611,00,012-345-6789";
    const std::vector<std::u16string> fragment = {u"", u"RE,1,1112,50611,山田　太郎"};
    const std::vector<std::u16string> treatments = {u"SI,1,山田", u"SI,2,鈴木"};
    const std::vector<std::u16string> workersCompensation = {anonymisedClinic, u"RE,1,1112,50611,テスト社１",
                                                             u"RR,1,ﾔﾏﾀﾞ ﾀﾛｳ,山田商事,東京都千代田区"};
    const std::vector<std::u16string> nothingSearchable = {anonymisedClinic, u"RE,1,1112,50611,李",
                                                           u"HO,12345678,,１２３４５"};
    const struct {
        std::vector<std::u16string> original;  // the anonymised file is the same
        std::vector<std::string> options;
        int status;
        std::vector<std::string> out;  // parts of standard output (of standard error for status 1)
    } cases[] = {
        {fragment,
         {},
         3,
         {"匿名化の確認（レセ電ファイル）\n", "空行: 1 → 1\n", "2行目 REレコード: 患者氏名が残っています"}},
        {fragment,
         {"--kind", "form1"},
         0,
         {"匿名化の確認（FFファイル）\n", "探した値はありません: 元のファイルの探す項目に値がありません\n"}},
        {treatments, {}, 0, {"匿名化の確認（FFファイル）\n"}},
        {treatments,
         {"--kind", "claims"},
         0,
         {"匿名化の確認（レセ電ファイル）\n", "SI: 2 → 2\n", "結果: 問題はありません\n"}},
        {workersCompensation,
         {},
         3,
         {"  RR: 1 → 1（確認していないレコード）\n", "確認していないレコード: 1件（RR。",
          "残っていた識別情報: 0件\n結果: 確認していないレコードがあります\n"}},
        {nothingSearchable,
         {},
         0,
         {"探す識別情報: 医療機関コード・医療機関名称・電話番号・患者氏名・",
          "匿名化で残す識別情報（探しません）: 生年月日・カルテ番号・検索番号・",
          "探した値はありません: 元のファイルの値はどれも短すぎるか、匿名化のダミー値と同じです\n",
          "結果: 問題はありません\n"}},
        {{u"RR,1,ﾔﾏﾀﾞ ﾀﾛｳ", u"山田,太郎"}, {"--kind", "claims"}, 1, {"には確認できるレコードがありません.\n"}},
    };
    for (const auto& c : cases) {
        write(c.original);
        std::vector<std::string> args = {"check-anonymized", in(), in()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto result = runCli(args);
        EXPECT_EQ(result.status, c.status) << result.out << result.err;
        for (const auto& part : c.out) {
            EXPECT_NE((c.status == 1 ? result.err : result.out).find(part), std::string::npos) << part << result.out;
        }
    }
    write(workersCompensation);
    const auto anonymize = runCli({"anonymize", in(), "-o", out()});
    EXPECT_EQ(anonymize.status, 0);
    EXPECT_NE(anonymize.err.find("確認していないレコードがあります"), std::string::npos) << anonymize.err;
    const auto dental = runCli({"check-anonymized", in(), in(), "--kind", "dental"});
    EXPECT_EQ(dental.status, 2);
    EXPECT_NE(dental.err.find("--kind takes claims or form1"), std::string::npos);
}

TEST_F(ClaimsCli, CheckClaimsExitsByWhatItFinds) {
    const std::filesystem::path fixtures = VASK_CLAIMS_FIXTURES;
    const auto good = runCli({"check-claims", utf8(fixtures / "LAYOUT_GOOD.UKE")});
    EXPECT_EQ(good.status, 0) << good.out;
    EXPECT_TRUE(good.out.ends_with("結果: 問題はありません\n")) << good.out;

    const auto sample = runCli({"check-claims", utf8(fixtures / "RECEIPTC_GAIRAI_SAMPLE.UKE")});
    EXPECT_EQ(sample.status, 3);
    EXPECT_NE(sample.out.find("\n  7行目 SYレコード 傷病名称: 40バイトを超えています\n"), std::string::npos)
        << sample.out;
    EXPECT_EQ(sample.out.find("寿限無"), std::string::npos);  // findings never show a value
    EXPECT_TRUE(sample.out.ends_with("結果: 問題があります（30件）\n")) << sample.out;
    EXPECT_TRUE(sample.err.empty());

    const auto missing = runCli({"check-claims", utf8(inputs / "none.UKE")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_NE(missing.err.find("none.UKE"), std::string::npos) << missing.err;
    write({u"RE,1,1112,202406"});
    const auto noClinic = runCli({"check-claims", in()});
    EXPECT_EQ(noClinic.status, 1);
    EXPECT_TRUE(noClinic.err.starts_with("レセ電ファイルではありません")) << noClinic.err;

    EXPECT_EQ(runCli({"check-claims"}).status, 2);
    EXPECT_EQ(runCli({"check-claims", in(), in()}).status, 2);
}

// anonymize --profile pseudonym --key FILE: the chart number becomes the pseudonym that
// the form-1 anonymiser gives the same patient under the same key; the run's own check
// and check-anonymized --profile pseudonym pass the file. A --key file that is not there is
// an error that writes nothing.
TEST_F(ClaimsCli, AnonymizeByThePseudonymProfileUnderAGivenKey) {
    const std::filesystem::path sample = std::filesystem::path(VASK_CLAIMS_FIXTURES) / "RECEIPTC_GAIRAI_SAMPLE.UKE";
    writeBytes(inputs / "a.key", std::string(64, 'c') + "\n");
    const std::string key = utf8(inputs / "a.key");
    expectFailure(
        {"anonymize", utf8(sample), "--profile", "pseudonym", "--key", utf8(inputs / "none.key"), "-o", out()},
        "ファイル \"" + utf8(inputs / "none.key") + "\" を開けません.");
    const auto result = runCli({"anonymize", utf8(sample), "--profile", "pseudonym", "--key", key, "-o", out()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(result.err.empty()) << result.err;
    const auto lines = linesOf(output("202111_1.UKE"));
    ASSERT_GT(lines.size(), 1u);
    std::vector<std::u16string> re;
    GetCommaTxt(lines[1], re);
    ASSERT_GT(re.size(), 13u);
    EXPECT_TRUE(hasPseudonymForm(re[13])) << utf16ToUtf8(re[13]);  // was 00697

    // The same patient in a form-1 file: chart number 697.
    writeBytes(inputs / "ff.txt", "h\tn\r\n697\tx\r\n");
    ASSERT_EQ(
        runCli({"blank-names", utf8(inputs / "ff.txt"), "--profile", "pseudonym", "--key", key, "-o", out()}).status,
        0);
    EXPECT_EQ(output("ffano.txt"), "h\tn\r\n" + utf16ToUtf8(re[13]) + "\t\r\n");

    const auto check =
        runCli({"check-anonymized", utf8(sample), utf8(programFolder / "202111_1.UKE"), "--profile", "pseudonym"});
    EXPECT_EQ(check.status, 0) << check.out;
    EXPECT_NE(check.out.find("匿名化の確認（レセ電ファイル、仮名加工）\n"), std::string::npos) << check.out;
}

TEST_F(ClaimsCli, WrongUsageExitsWithTwo) {
    write({clinicRecord()});
    const std::vector<std::vector<std::string>> cases = {
        {"anonymize"},
        {"anonymize", in(), in()},
        {"anonymize", in(), "--mode", "none"},
        {"anonymize", in(), "--key", in()},
        {"anonymize", in(), "--profile", "kana"},
        {"strip-branch", in(), "--mode", "cut"},
        {"strip-branch", in(), "--from"},
    };
    for (const auto& args : cases) {
        const auto result = runCli(args);
        EXPECT_EQ(result.status, 2) << args.size();
        EXPECT_NE(result.err.find("usage: vask-cli"), std::string::npos);
    }
    EXPECT_TRUE(listFolder(programFolder.path()).empty());
}

}  // namespace
}  // namespace vask::test
