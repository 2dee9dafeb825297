#include <gtest/gtest.h>

#include <map>

#include "core/text.h"
#include "ff1/ehr_csv.h"
#include "ff1/ff1_output.h"
#include "ff1_test_support.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::test {
namespace {

const std::u16string kFF1Header = u"施設コード\tデータ識別番号\t年月\tコード\t連番\tP1\tP2\tP3\tP4\tP5\tP6\tP7\tP8\tP9";

// 89 values with the given ones set, joined by commas.
std::u16string row(const std::map<int, std::u16string>& values) {
    std::u16string line;
    for (int c = 0; c < 89; ++c) {
        if (c > 0) line += u",";
        if (values.count(c)) line += values.at(c);
    }
    return line;
}

class Build : public ::testing::Test {
protected:
    Build() {
        writeBytes(ff1 / "siyo4.csv", sjisLines({
                                          u"ヘッダー名称,コード,ペイロード番号",
                                          u"[0] カルテ番号,ID,9",
                                          u"[2] 診療年月日,DATE,1",
                                          u"[3] 郵便番号,CPP0001,3",
                                          u"[4] 身長,CPF0001,1",
                                          u"[5] 体重,CPF0001,2",
                                          u"[6] P6,X,6",
                                          u"[7] P5,X,5",
                                      }));
    }
    void merged(const std::vector<std::u16string>& lines) { writeBytes(ff1 / "G_FF1_all.txt", sjisLines(lines)); }
    std::filesystem::path build(std::u16string_view month = u"202404", std::u16string_view append = u"") {
        return ff1::BuildEHRCSV_FromFF1_andSpecCSV(fromPath(ff1 / "G_FF1_all.txt"), fromPath(ff1 / "siyo4.csv"),
                                                   fromPath(downloads.path()) + u"/", append, month);
    }
    std::vector<std::u16string> output(std::u16string_view month = u"202404", std::u16string_view append = u"") {
        return linesOf(readBytes(build(month, append)));
    }
    std::u16string errorOf(std::u16string_view month, std::u16string_view append = u"") {
        try {
            build(month, append);
        } catch (const Error& e) {
            return e.message();
        }
        return u"(no error)";
    }
    static std::u16string header() {
        std::map<int, std::u16string> h;
        for (int c = 0; c < 89; ++c) h[c] = u"[" + utf8ToUtf16(std::to_string(c)) + u"]";
        h[0] = u"[0] カルテ番号";
        h[2] = u"[2] 診療年月日";
        h[3] = u"[3] 郵便番号";
        h[4] = u"[4] 身長";
        h[5] = u"[5] 体重";
        h[6] = u"[6] P6";
        h[7] = u"[7] P5";
        return row(h);
    }

    TempDir ff1;
    TempDir downloads;
};

TEST_F(Build, OneRowPerDataIdInCodeUnitOrderFilledByItsLinesTheLaterLineWinning) {
    merged({
        kFF1Header,
        ff1Line(u"A2", u"202404", u"CPF0001", payloads({u"170", u"60"})),
        ff1Line(u"9", u"202404", u"CPF0001", payloads({u" 150 "})),
        ff1Line(u"A2", u"202404", u"CPP0001", payloads({u"", u"", u"1000001"})),
        ff1Line(u"10", u"202404", u"UNKNOWN", payloads({u"x"})),
        ff1Line(u"A2", u"202404", u"CPF0001", payloads({u"171", u""})),
    });
    EXPECT_EQ(output(u" 202404 "), (std::vector<std::u16string>{
                                       header(),
                                       row({{0, u"10"}, {2, u"20240401"}}),
                                       row({{0, u"9"}, {2, u"20240401"}, {4, u"150"}}),
                                       row({{0, u"A2"}, {2, u"20240401"}, {3, u"1000001"}, {4, u"171"}, {5, u"60"}}),
                                   }));
    EXPECT_EQ(listFolder(downloads.path()), std::vector<std::string>{"202404_ff1all.csv"});
}

TEST_F(Build, ATenFieldLineReadsPayloadsOneToFiveAndValuesLoseQuotesButKeepCommas) {
    merged({
        ff1Line(u"A", u"202404", u"X", {u"1", u"2", u"3", u"4", u"5"}),  // no payload 6
        ff1Line(u"B", u"202404", u"CPF0001", payloads({u"1\"7\"0", u"6,0"})),
        ff1Line(u"C", u"202404", u"ID", payloads({u"", u"", u"", u"", u"", u"", u"", u"", u"K9"})),
        ff1Line(u"D", u"202404", u"DATE", payloads({u"20240415"})), ff1Line(u"", u"202404", u"X", payloads({u"1"})),
        ff1Line(u"E", u"x", u"X", payloads({u"1"})), ff1Line(u"F", u"202404", u" ", payloads({u"1"})),
        u"1\tG\t202404\tX",  // fewer than five fields
    });
    EXPECT_EQ(output(), (std::vector<std::u16string>{
                            header(),
                            row({{0, u"A"}, {2, u"20240401"}, {7, u"5"}}),
                            row({{0, u"B"}, {2, u"20240401"}, {4, u"170"}, {5, u"6,0"}}),
                            row({{0, u"K9"}, {2, u"20240401"}}),
                            row({{0, u"D"}, {2, u"20240415"}}),
                        }));
}

TEST_F(Build, TheFirstLineIsSkippedOnlyWhenItIsAHeaderLine) {
    const auto a = ff1Line(u"A", u"202404", u"CPF0001", payloads({u"170"}));
    merged({u"", a});
    EXPECT_EQ(output().size(), 2u);  // header-less merged file: its first data line counts
    // Only the first non-blank line may be skipped as the header: the same line later on
    // is an ordinary data line.
    const auto headerLike = ff1Line(u"H", u"202404", u"CPF0001", payloads({u"99"}), u"facility");
    merged({u"  ", headerLike, a, headerLike});
    EXPECT_EQ(output(), (std::vector<std::u16string>{header(), row({{0, u"A"}, {2, u"20240401"}, {4, u"170"}}),
                                                     row({{0, u"H"}, {2, u"20240401"}, {4, u"99"}})}));
}

TEST_F(Build, AUtf8MergedFileWithItsByteOrderMarkKeepsNonAsciiValues) {
    const auto a = ff1Line(u"A", u"202404", u"CPF0001", payloads({u"髙①", u"ｶﾅ"}));
    writeBytes(ff1 / "G_FF1_all.txt", "\xEF\xBB\xBF" + utf16ToUtf8(kFF1Header) + "\r\n" + utf16ToUtf8(a) + "\r\n");
    const std::string bytes = readBytes(build());
    EXPECT_NE(bytes.find("\r\nA,,20240401,,\xFB\xFC\x87\x40,\xB6\xC5,"), std::string::npos);
}

TEST_F(Build, AppendedRowsFollowAsReadWhenTheirDateMatches) {
    merged({ff1Line(u"A", u"202404", u"CPF0001", payloads({u"170"}))});
    writeBytes(ff1 / "add.csv",
               sjisLines({u"any header", u"", u"short,line", u"A,x,20240401,y ", u"  ", u"B,,20240401"}));
    EXPECT_EQ(output(u"202404", fromPath(ff1 / "add.csv")),
              (std::vector<std::u16string>{header(), row({{0, u"A"}, {2, u"20240401"}, {4, u"170"}}), u"short,line",
                                           u"A,x,20240401,y ", u"B,,20240401"}));
}

TEST_F(Build, AppendFilesWithoutDataOrMissingAppendNothingAndCheckNoDate) {
    merged({ff1Line(u"A", u"202404", u"CPF0001", payloads({u"170"}))});
    writeBytes(ff1 / "header-only.csv", sjisLines({u"h1,h2,h3"}));
    const std::vector<std::u16string> plain = {header(), row({{0, u"A"}, {2, u"20240401"}, {4, u"170"}})};
    EXPECT_EQ(output(u"202404", fromPath(ff1 / "header-only.csv")), plain);
    EXPECT_EQ(output(u"202404", fromPath(ff1 / "missing.csv")), plain);
    // No FF1 row gives no base date: any append file is taken without a check.
    merged({kFF1Header});
    writeBytes(ff1 / "other.csv", sjisLines({u"h", u"Z,,20991231"}));
    EXPECT_EQ(output(u"202404", fromPath(ff1 / "other.csv")), (std::vector<std::u16string>{header(), u"Z,,20991231"}));
}

TEST_F(Build, ADifferentAppendDateFailsAndKeepsTheOlderOutput) {
    merged({ff1Line(u"A", u"202404", u"CPF0001", payloads({u"170"}))});
    writeBytes(downloads / "202404_ff1all.csv", "older");
    writeBytes(ff1 / "add.csv", sjisLines({u"h", u"x,y", u"B,, 20240501 ,z"}));
    EXPECT_EQ(errorOf(u"202404", fromPath(ff1 / "add.csv")),
              u"追記ファイルの診療年月日が異なります。元ファイル=20240401, 追記ファイル=20240501");
    EXPECT_EQ(readBytes(downloads / "202404_ff1all.csv"), "older");
    EXPECT_EQ(listFolder(downloads.path()), std::vector<std::string>{"202404_ff1all.csv"});
    // The date error comes before the check of the output name.
    EXPECT_EQ(errorOf(u"2024/04", fromPath(ff1 / "add.csv")),
              u"追記ファイルの診療年月日が異なります。元ファイル=2024/0401, 追記ファイル=20240501");
}

TEST_F(Build, TheIdListReplacesFieldZeroWhereItMatchesExactly) {
    merged({ff1Line(u"0001", u"202404", u"CPF0001", payloads({u"170"})),
            ff1Line(u"0002", u"202404", u"CPF0001", payloads({u"150"}))});
    writeBytes(ff1 / "recelist.csv",
               sjisLines({u" K000 ,a,b,c, 0002 ", u"K123,a,b,c,0001", u"short,0001", u"", u"K999,x,y,z,0003"}));
    writeBytes(ff1 / "add.csv", sjisLines({u"0003,head,er", u"0001,x,20240401", u"0001 ,y,20240401", u"0003"}));
    EXPECT_EQ(output(u"202404", fromPath(ff1 / "add.csv")),
              (std::vector<std::u16string>{header(), row({{0, u"K123"}, {2, u"20240401"}, {4, u"170"}}),
                                           row({{0, u"K000"}, {2, u"20240401"}, {4, u"150"}}), u"K123,x,20240401",
                                           u"0001 ,y,20240401", u"K999"}));
}

// The names beside the Downloads folder, without the folders that tests running at the
// same time make there.
std::vector<std::string> besideDownloads(const TempDir& downloads) {
    auto names = listFolder(downloads.path().parent_path());
    std::erase_if(names, [](const std::string& name) { return name.rfind("vask-test-", 0) == 0; });
    return names;
}

TEST_F(Build, AYearMonthThatIsNoPlainFileNameWritesNothingAnywhere) {
    merged({ff1Line(u"A", u"202404", u"CPF0001", payloads({u"170"}))});
    const auto downloadsBefore = besideDownloads(downloads);
    for (const std::u16string month : {u"2024/04", u"..\\x", u" a:b "}) {
        EXPECT_EQ(errorOf(month), u"ファイル名に使えない文字が含まれています：" + trim(month) + u"_ff1all.csv");
    }
    EXPECT_TRUE(listFolder(downloads.path()).empty());
    EXPECT_EQ(besideDownloads(downloads), downloadsBefore);
}

TEST_F(Build, MissingInputsFailBeforeAnythingIsWrittenAndTheOutputFolderIsMadeWhenMissing) {
    EXPECT_EQ(errorOf(u"202404"), msg::cannotOpen(ff1 / "G_FF1_all.txt"));
    merged({ff1Line(u"A", u"202404", u"CPF0001", payloads({u"170"}))});
    std::filesystem::remove(ff1 / "siyo4.csv");
    EXPECT_EQ(errorOf(u"202404"), msg::cannotOpen(ff1 / "siyo4.csv"));
    EXPECT_TRUE(listFolder(downloads.path()).empty());

    writeBytes(ff1 / "siyo4.csv", sjisLines({u"ヘッダー名称,コード,ペイロード番号"}));
    const auto written = ff1::BuildEHRCSV_FromFF1_andSpecCSV(
        fromPath(ff1 / "G_FF1_all.txt"), fromPath(ff1 / "siyo4.csv"), fromPath(downloads / "a" / "b"), u"", u"202404");
    EXPECT_EQ(written, downloads / "a" / "b" / "202404_ff1all.csv");
    EXPECT_EQ(linesOf(readBytes(written)).size(), 2u);
}

TEST(LossyWriter, WritesCodePage932BytesWithAQuestionMarkForEveryUnmappableCharacter) {
    TempDir dir;
    const struct {
        std::vector<std::u16string> lines;
        std::string bytes;
    } cases[] = {
        {{}, ""},
        {{u"abc"}, "abc\r\n"},
        {{u"①髙ＡＢ", u""}, "\x87\x40\xFB\xFC\x82\x60\x82\x61\r\n\r\n"},
        {{u"a😀b\xD800"}, "a?b?\r\n"},
        {{u"ｶﾅ\u00E9"}, "\xB6\xC5?\r\n"},  // é has no code (no best-fit "e")
    };
    for (const auto& c : cases) {
        const auto file = dir / "sub" / "out.csv";
        LineWriter writer = ff1::openCP932LossyWriter(file);
        for (const auto& line : c.lines) writer.writeLine(line);
        writer.commit();
        EXPECT_EQ(readBytes(file), c.bytes);
    }
    EXPECT_EQ(listFolder(dir / "sub"), std::vector<std::string>{"out.csv"});
}

}  // namespace
}  // namespace vask::test
