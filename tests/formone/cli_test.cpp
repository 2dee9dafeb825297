// The form-1 subcommands of vask-cli: exit status, printed paths, messages, files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../support/test_support.h"
#include "core/pseudonym.h"
#include "platform/utf.h"

namespace vask {
namespace {

using test::listFolder;
using test::readBytes;
using test::runCli;
using test::sjis;
using test::utf8;
using test::writeBytes;

class FormOneCli : public ::testing::Test {
protected:
    std::string path(const char* name) const { return utf8(dir / name); }
    // A form-1 file of a header and one record (53 fields) of the year-month 202404.
    void writeFormOne(const char* name) {
        std::string record = "1001\t" + sjis(u"山田　太郎") + "\t\t202404";
        for (int i = 4; i < 53; ++i) record += "\t";
        writeBytes(dir / name, "header\r\n" + record + "\r\n");
    }
    test::TempDir dir;
    test::TempDir out;
    std::string outDir = utf8(out.path());
};

TEST_F(FormOneCli, CarteWritesTheFileAndPrintsItsPath) {
    writeFormOne("ff.txt");
    const auto result = runCli({"carte", path("ff.txt"), "-o", outDir});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, utf8(out / "202404_carte.csv") + "\n");
    EXPECT_EQ(readBytes(out / "202404_carte.csv").substr(0, 6), sjis(u"カルテ"));
}

TEST_F(FormOneCli, RefusalsAndErrorsExitWithOneAndWriteNothing) {
    writeBytes(dir / "empty.txt", "");
    writeBytes(dir / "header.txt", "header only\r\n");
    writeBytes(dir / "short.txt", "header\r\na\tb\r\n");
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"carte", path("none.txt")}, "ファイルがありません。\n"},
        {{"carte", path("empty.txt")}, "正しいFFファイルではありません。\n"},
        {{"carte", path("header.txt")}, "正しいFFファイルではありません。\n"},  // no record converted
        {{"carte2", path("empty.txt")}, "正しいFFファイルではありません。\n"},
        {{"carte2", path("header.txt")}, "リストのインデックスが範囲を超えています (1)\n"},
        {{"carte2", path("short.txt")}, "範囲チェックエラー.\n"},
        {{"carte2", path("short.txt"), "--month", "2024/04"},
         "ファイル名に使えない文字が含まれています：2024/04_carte.csv.\n"},
        {{"carte2", path("header.txt"), "--movacal", path("none.csv"), "--month", "202404"}, ""},
        {{"blank-names", " "}, "ファイルが選択されていません。\n"},
    };
    for (auto c : cases) {
        c.args.insert(c.args.end(), {"-o", outDir});
        const auto result = runCli(c.args);
        EXPECT_EQ(result.status, 1) << c.args[1];
        if (!c.message.empty()) {
            EXPECT_EQ(result.err, c.message);
        }
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_TRUE(listFolder(out.path()).empty());
}

TEST_F(FormOneCli, Carte2WithMovacalPrintsBothFilesInWritingOrder) {
    writeFormOne("ff.txt");
    writeBytes(out / "output.tsv", "stale");
    writeBytes(dir / "map.csv", sjis(u"header,見出し\r\n"));
    const auto result = runCli({"carte2", path("ff.txt"), "--movacal", path("map.csv"), "-o", outDir});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, utf8(out / "output.tsv") + "\n" + utf8(out / "202404_carte.csv") + "\n");
    EXPECT_EQ(readBytes(out / "output.tsv").substr(0, 8), sjis(u"見出し") + "\r\n");
    // Without the mapping the run still deletes the stale intermediate file.
    const auto standard = runCli({"carte2", path("ff.txt"), "--month", "202501", "-o", outDir});
    EXPECT_EQ(standard.out, utf8(out / "202501_carte.csv") + "\n");
    EXPECT_EQ(listFolder(out.path()), (std::vector<std::string>{"202404_carte.csv", "202501_carte.csv"}));
}

TEST_F(FormOneCli, MapAndBlankNames) {
    writeBytes(dir / "empty.txt", "");
    writeBytes(dir / "map.csv", "b,\r\n");
    const auto nothing = runCli({"map", path("empty.txt"), path("map.csv"), path("mapped.tsv")});
    EXPECT_EQ(nothing.status, 0);
    EXPECT_TRUE(nothing.out.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "mapped.tsv"));

    writeBytes(dir / "ff.txt", "a\tb\tc\r\n1\t2\t3\r\n");
    EXPECT_EQ(runCli({"map", path("ff.txt"), path("map.csv"), path("mapped.tsv")}).out, path("mapped.tsv") + "\n");
    EXPECT_EQ(readBytes(dir / "mapped.tsv"), "a\tc\r\n1\t3\r\n");
    EXPECT_EQ(runCli({"blank-names", path("ff.txt"), "-o", outDir}).out, utf8(out / "ffano.txt") + "\n");
    EXPECT_EQ(readBytes(out / "ffano.txt"), "a\tb\tc\r\n1\t\t3\r\n");
}

TEST_F(FormOneCli, CheckAnonymizedExitsByWhatItFinds) {
    // The name of record 1 stands in a comment field of record 2.
    writeBytes(dir / "ff.txt", sjis(u"番号\t氏名\t備考\r\n1\t山田　太郎\t\r\n2\t鈴木　花子\t山田様の紹介\r\n"));
    const auto blank = runCli({"blank-names", path("ff.txt"), "-o", outDir});
    EXPECT_EQ(blank.status, 0);
    EXPECT_EQ(blank.out, utf8(out / "ffano.txt") + "\n");
    EXPECT_NE(blank.err.find("警告: "), std::string::npos) << blank.err;
    const std::string written = utf8(out / "ffano.txt");
    const auto found = runCli({"check-anonymized", path("ff.txt"), written});
    EXPECT_EQ(found.status, 3);
    EXPECT_NE(found.out.find("  3行目: 患者氏名が残っています\n"), std::string::npos) << found.out;
    EXPECT_EQ(found.out.find("山田"), std::string::npos);

    const auto passed = runCli({"check-anonymized", written, written});
    EXPECT_EQ(passed.status, 0) << passed.out;
    EXPECT_NE(passed.out.find("匿名化の確認（FFファイル）\n行数（元のファイル → 匿名化したファイル）: 3 → 3\n"),
              std::string::npos)
        << passed.out;
    const auto missing = runCli({"check-anonymized", path("none.txt"), written});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_FALSE(missing.err.empty());
    EXPECT_EQ(runCli({"check-anonymized", path("ff.txt"), written, "-o", outDir}).status, 2);
}

// A key file as vask-cli reads it: 64 hexadecimal digits.
std::string keyFileText(char digit) { return std::string(64, digit) + "\r\n"; }

// The fields of record line 2 of an anonymised form-1 file.
std::vector<std::string> secondLineFields(const std::filesystem::path& file) {
    const std::string text = readBytes(file);
    const size_t begin = text.find("\r\n") + 2;
    std::vector<std::string> fields;
    std::string line = text.substr(begin, text.find("\r\n", begin) - begin);
    for (size_t at = 0;; at = line.find('\t', at) + 1) {
        fields.push_back(line.substr(at, line.find('\t', at) - at));
        if (line.find('\t', at) == std::string::npos) return fields;
    }
}

// blank-names --profile pseudonym --key FILE: one key gives one pseudonym per patient on
// every run (so on every PC holding the key), another key another; the run's own check and
// check-anonymized --profile pseudonym check what the profile did.
TEST_F(FormOneCli, BlankNamesByThePseudonymProfileUnderAGivenKey) {
    writeBytes(dir / "ff.txt", "h\tn\r\n0001001\t" + sjis(u"山田　太郎") + "\t\t202404\t\t123-4567\r\n");
    writeBytes(dir / "a.key", keyFileText('a'));
    writeBytes(dir / "b.key", keyFileText('B'));
    const auto run = [&](const char* key, const test::TempDir& folder) {
        const auto result = runCli(
            {"blank-names", path("ff.txt"), "--profile", "pseudonym", "--key", path(key), "-o", utf8(folder.path())});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_TRUE(result.err.empty()) << result.err;
        return secondLineFields(folder / "ffano.txt");
    };
    const auto fields = run("a.key", out);
    ASSERT_EQ(fields.size(), 6u);
    EXPECT_TRUE(hasPseudonymForm(utf8ToUtf16(fields[0]))) << fields[0];
    EXPECT_EQ(fields[1], "");
    EXPECT_EQ(fields[5], "123-0000");
    test::TempDir again;
    EXPECT_EQ(run("a.key", again), fields);
    EXPECT_NE(run("b.key", again)[0], fields[0]);

    const std::string written = utf8(out / "ffano.txt");
    const auto passed = runCli({"check-anonymized", path("ff.txt"), written, "--profile", "pseudonym"});
    EXPECT_EQ(passed.status, 0) << passed.out;
    EXPECT_NE(passed.out.find("匿名化の確認（FFファイル、仮名加工）\n"), std::string::npos) << passed.out;
    // The written profile's copy keeps the chart number, which the profile's check finds.
    ASSERT_EQ(runCli({"blank-names", path("ff.txt"), "-o", outDir}).status, 0);
    const auto kept = runCli({"check-anonymized", path("ff.txt"), written, "--profile", "pseudonym"});
    EXPECT_EQ(kept.status, 3);
    EXPECT_NE(kept.out.find("  2行目: カルテ番号が仮名になっていません\n"), std::string::npos) << kept.out;
    EXPECT_EQ(runCli({"check-anonymized", path("ff.txt"), written, "--profile", "kana"}).status, 2);
}

// A --key file that is missing or holds no key stops the run before anything is written;
// --key without --profile pseudonym, and another profile, are wrong usage.
TEST_F(FormOneCli, ABadKeyFileIsAnErrorAndKeyNeedsThePseudonymProfile) {
    writeFormOne("ff.txt");
    writeBytes(dir / "bad.key", "not a key\r\n");
    for (const char* key : {"none.key", "bad.key"}) {
        const auto result =
            runCli({"blank-names", path("ff.txt"), "--profile", "pseudonym", "--key", path(key), "-o", outDir});
        EXPECT_EQ(result.status, 1) << key;
        EXPECT_NE(result.err.find(key), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty());
    }
    for (const std::vector<std::string>& options : {std::vector<std::string>{"--key", path("bad.key")},
                                                    {"--profile", "written", "--key", path("bad.key")},
                                                    {"--profile", "kana"}}) {
        std::vector<std::string> args = {"blank-names", path("ff.txt"), "-o", outDir};
        args.insert(args.end(), options.begin(), options.end());
        const auto result = runCli(args);
        EXPECT_EQ(result.status, 2) << options[1];
        EXPECT_NE(result.err.find("usage: vask-cli"), std::string::npos);
    }
    EXPECT_TRUE(listFolder(out.path()).empty());
}

#ifndef _WIN32
// Without --key the user's own key is used, made on first use in the user's settings folder
// (here $XDG_CONFIG_HOME/vask), and kept for the next run.
TEST_F(FormOneCli, WithoutKeyTheUsersKeyIsMadeOnceAndKept) {
    test::TempDir config;
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string before = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", utf8(config.path()).c_str(), 1);
    writeFormOne("ff.txt");
    const auto first = runCli({"blank-names", path("ff.txt"), "--profile", "pseudonym", "-o", outDir});
    const auto keyFile = config / "vask" / "pseudonym-key.txt";
    const std::string key = readBytes(keyFile);
    const auto pseudonym = secondLineFields(out / "ffano.txt").at(0);
    const auto second = runCli({"blank-names", path("ff.txt"), "--profile", "pseudonym", "-o", outDir});
    if (saved) {
        ::setenv("XDG_CONFIG_HOME", before.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(key.size(), 65u);
    EXPECT_EQ(readBytes(keyFile), key);
    EXPECT_TRUE(hasPseudonymForm(utf8ToUtf16(pseudonym)));
    EXPECT_EQ(secondLineFields(out / "ffano.txt").at(0), pseudonym);
}
#endif

}  // namespace
}  // namespace vask
