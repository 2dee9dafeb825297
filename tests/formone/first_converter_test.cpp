#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "../support/test_support.h"
#include "formone/first_converter.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::formone {
namespace {

using test::readBytes;
using test::sjis;
using test::sjisLines;
using test::writeBytes;

const std::u16string kHeaderLine =
    u"カルテ番号,患者氏名,診療年月日,郵便番号,身長,体重,収縮期血圧,拡張期血圧,HbA1c,LDLコレステロール,尿酸,空列";

// A tab-separated line of `count` fields, empty except those given.
std::u16string record(const std::map<int, std::u16string>& values, int count = 53) {
    std::u16string line;
    for (int i = 0; i < count; ++i) {
        if (i > 0) line += u'\t';
        if (const auto it = values.find(i); it != values.end()) line += it->second;
    }
    return line;
}

class FirstConverter : public ::testing::Test {
protected:
    // Runs the converter on the lines (the header first) and returns the outcome.
    Outcome run(const std::vector<std::u16string>& lines) {
        writeBytes(input, sjisLines(lines));
        return runFirstConverter(fromPath(input), out.path());
    }
    // The data rows of the output named by `yearMonth`.
    std::vector<std::u16string> rows(const std::string& yearMonth = "202404") {
        const auto lines = test::linesOf(readBytes(out / (yearMonth + "_carte.csv")));
        EXPECT_EQ(lines.at(0), kHeaderLine);
        return {lines.begin() + 1, lines.end()};
    }

    test::TempDir in;
    test::TempDir out;
    std::filesystem::path input = in / "FF1_202404.txt";
};

TEST_F(FirstConverter, WritesTheHeaderAndOneRowOfElevenValuesPerPatient) {
    const auto outcome = run({record({{3, u"x"}}), record({{0, u"00123"},
                                                           {1, u" 山田　太郎 "},
                                                           {3, u"202404"},
                                                           {5, u"1234567"},
                                                           {6, u"170.6"},
                                                           {7, u"65"},
                                                           {22, u"6"},
                                                           {31, u"120"},
                                                           {32, u"80"},
                                                           {37, u"120.9"},
                                                           {52, u"5.5"}})});
    ASSERT_FALSE(outcome.isRefusal());
    EXPECT_EQ(outcome.message(), u"202404_carte.csvが作成されました");
    EXPECT_EQ(outcome.files(), std::vector<std::filesystem::path>{out / "202404_carte.csv"});
    EXPECT_EQ(
        readBytes(out / "202404_carte.csv"),
        sjis(kHeaderLine) + "\r\n" + sjis(u"123, 山田　太郎 ,20240401,1234567,170,65.0,120,80,6.0,120,5.5") + "\r\n");
}

TEST_F(FirstConverter, CleansEachValueByItsRule) {
    const struct {
        int position;
        std::u16string value;
        size_t column;
        std::u16string expected;
    } cases[] = {
        {6, u"170.6", 4, u"170"},
        {6, u"301", 4, u""},
        {6, u"300.5", 4, u"300"},
        {6, u"0", 4, u""},
        {6, u"abc", 4, u""},
        {6, u" 165 ", 4, u"165"},
        {6, u"$12D", 4, u""},
        {7, u"65", 5, u"65.0"},
        {7, u"65.54", 5, u"65.5"},
        {7, u"350", 5, u""},
        {7, u"350.5", 5, u"350.5"},
        {7, u"-0.04", 5, u"0.0"},
        {7, u"65.25", 5, u"65.3"},
        {22, u"6", 8, u"6.0"},
        {22, u"6.55", 8, u"6.55"},
        {22, u"99.9", 8, u""},
        {22, u"99.90", 8, u"99.90"},
        {22, u"", 8, u""},
        {22, u"1e1", 8, u"10.0"},
        {37, u"120.9", 9, u"120"},
        {37, u"120", 9, u"120"},
        {37, u"abc", 9, u"abc"},
        {37, u"1.2.3", 9, u"0"},
        {37, u"999", 9, u""},
        {37, u"999.0", 9, u"999"},
        {52, u"7", 10, u"7.0"},
        {52, u"99.9", 10, u""},
        {5, u"123-4567", 3, u""},
        {5, u" 1234567 ", 3, u"1234567"},
        {31, u"999", 6, u""},
        {31, u"999.0", 6, u"999.0"},
        {32, u" 999 ", 7, u""},
    };
    for (const auto& c : cases) {
        run({u"header", record({{0, u"1"}, {3, u"202404"}, {c.position, c.value}})});
        const auto row = rows().at(0);
        std::vector<std::u16string> values(1);
        for (char16_t ch : row) {
            if (ch == u',') {
                values.emplace_back();
            } else {
                values.back().push_back(ch);
            }
        }
        ASSERT_EQ(values.size(), 11u);
        EXPECT_EQ(values[c.column], c.expected) << "position " << c.position;
    }
}

TEST_F(FirstConverter, ChartNumbers) {
    const struct {
        std::u16string in;
        std::u16string out;
    } cases[] = {{u"000123", u"123"},
                 {u"+5", u"5"},
                 {u"0", u"0"},
                 {u"A123", u"A123"},
                 {u"12 3", u"12 3"},
                 {u"  7", u"7"},
                 {u"$1F", u"31"},
                 {u"0x10", u"16"},
                 {u"-0012", u"-12"},
                 {u"9223372036854775807", u"9223372036854775807"},
                 {u"9223372036854775808", u"9223372036854775808"},
                 {u"7 ", u"7 "}};
    for (const auto& c : cases) EXPECT_EQ(GetCarte(c.in), c.out);
}

TEST_F(FirstConverter, KeepsTheFirstLineOfEachTrimmedChartNumberIgnoringCase) {
    run({u"header", record({{0, u"00123"}, {3, u"202404"}}), record({{0, u" 00123"}, {3, u"202405"}}),
         record({{0, u"a1"}, {1, u"first"}}), record({{0, u"A1 "}, {1, u"second"}}), record({{0, u"123"}})});
    const auto lines = rows();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(0, 4), u"123,");
    EXPECT_EQ(lines[1].substr(0, 9), u"a1,first,");
    EXPECT_EQ(lines[2].substr(0, 4), u"123,");  // "123" differs from "00123" as text
}

TEST_F(FirstConverter, KeepsTheFirstLineOfEachChartNumberAcrossALongUtf16File) {
    // About 1 MB of UTF-16: the lines run over several read blocks. Chart numbers A0 to
    // A2999 come first; a later line of the same number (trimmed, other case) is dropped.
    constexpr int kPatients = 3000;
    std::u16string text = u"header\r\n";
    for (int copy = 0; copy < 2; ++copy) {
        for (int i = 0; i < kPatients; ++i) {
            const std::u16string number = test::fromSjis(std::to_string(i));
            const std::u16string chart = copy == 0 ? u"A" + number : u" a" + number + u" ";
            text += record({{0, chart}, {1, copy == 0 ? u"first" : u"second"}, {3, u"202404"}}, 141) + u"\r\n";
        }
    }
    writeBytes(input, "\xFF\xFE" + utf16ToUtf16le(text));
    ASSERT_FALSE(runFirstConverter(fromPath(input), out.path()).isRefusal());
    const auto lines = rows();
    ASSERT_EQ(lines.size(), size_t{kPatients});
    for (int i = 0; i < kPatients; ++i) {
        EXPECT_EQ(lines[i], u"A" + test::fromSjis(std::to_string(i)) + u",first,20240401,,,,,,,,") << i;
    }
}

TEST_F(FirstConverter, SkipsShortLinesLinesWithoutChartNumberAndTheFirstLine) {
    run({record({{0, u"head"}, {3, u"HEAD"}}), record({{0, u"1"}, {3, u"202401"}}, 52),
         record({{0, u""}, {3, u"202402"}}), record({{0, u"2"}, {3, u"202404"}}, 53)});
    const auto lines = rows();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(0, 11), u"2,,20240401");
}

TEST_F(FirstConverter, ASkippedDuplicateCanStillNameTheFile) {
    run({u"header", record({{0, u"1"}}), record({{0, u"1"}, {3, u"202404"}})});
    const auto lines = rows("202404");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(0, 5), u"1,,01");
}

TEST_F(FirstConverter, ACommaOrQuoteInsideAFieldShiftsAndVanishes) {
    run({u"header", record({{0, u"1"}, {1, u"\"山田,太郎\""}, {2, u"202404"}, {3, u"x"}}, 52)});
    const auto lines = rows();
    ASSERT_EQ(lines.size(), 1u);  // 52 fields became 53; field 3 is the former field 2
    EXPECT_EQ(lines[0].substr(0, 14), u"1,山田,20240401,");
}

TEST_F(FirstConverter, RefusesAMissingFileAndAFileWithoutAnyLine) {
    const auto missing = runFirstConverter(fromPath(in / "none.txt"), out.path());
    EXPECT_TRUE(missing.isRefusal());
    EXPECT_EQ(missing.message(), u"ファイルがありません。");
    EXPECT_TRUE(runFirstConverter(u"", out.path()).isRefusal());
    writeBytes(input, "");
    const auto empty = runFirstConverter(fromPath(input), out.path());
    EXPECT_TRUE(empty.isRefusal());
    EXPECT_EQ(empty.message(), u"正しいFFファイルではありません。");
    EXPECT_TRUE(test::listFolder(out.path()).empty());
}

// A file from which no record line is converted would give the header alone: refused,
// and an older output of the bare name stays as it was.
TEST_F(FirstConverter, RefusesAFileWithoutAConvertedRecordLine) {
    writeBytes(out / "_carte.csv", "older");
    const std::vector<std::u16string> files[] = {
        {u"header"},
        {u""},
        {u"IR,1,13,1,1312345,,CLINIC,202404,00,0312345678", u"RE,1,1112,202404,NAME,1,3450101"},
        {u"header", record({{0, u"1"}, {3, u"202404"}}, 52), record({{3, u"202404"}})},
    };
    for (const auto& lines : files) {
        const auto outcome = run(lines);
        EXPECT_TRUE(outcome.isRefusal()) << utf16ToUtf8(lines.front());
        EXPECT_EQ(outcome.message(), u"正しいFFファイルではありません。");
        EXPECT_EQ(test::listFolder(out.path()), std::vector<std::string>{"_carte.csv"});
    }
    EXPECT_EQ(readBytes(out / "_carte.csv"), "older");
}

TEST_F(FirstConverter, ANonNumericHbA1cStopsTheRunAndKeepsTheOlderFile) {
    writeBytes(out / "202404_carte.csv", "older");
    try {
        run({u"header", record({{0, u"1"}, {3, u"202404"}}), record({{0, u"2"}, {3, u"202404"}, {52, u" abc "}})});
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), u"'abc' は浮動小数点数ではありません");
    }
    EXPECT_EQ(readBytes(out / "202404_carte.csv"), "older");
    EXPECT_EQ(test::listFolder(out.path()), std::vector<std::string>{"202404_carte.csv"});
}

TEST_F(FirstConverter, AYearMonthThatIsNoFileNameWritesNothing) {
    EXPECT_THROW(run({u"header", record({{0, u"1"}, {3, u"../202404"}})}), Error);
    EXPECT_TRUE(test::listFolder(out.path()).empty());
}

TEST(DelimitedCopy, RejoinsTheKeptLinesUnderTheYearMonthOfTheFirstRecord) {
    test::TempDir dir;
    writeBytes(dir / "in.txt", sjisLines({u"h0\th1\th2\th3", u",,,skipped", u"1 \"a b\"\t山田\t202404\tx", u"2,x"}));
    const auto written = writeDelimitedCopy(fromPath(dir / "in.txt"), dir.path());
    EXPECT_EQ(written, dir / "202404_carte.csv");
    EXPECT_EQ(readBytes(written), sjisLines({u"h0,h1,h2,h3", u"1,a b,山田,202404,x", u"2,x"}));
}

}  // namespace
}  // namespace vask::formone
