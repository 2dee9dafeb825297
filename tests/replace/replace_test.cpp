#include <gtest/gtest.h>

#include "../support/test_support.h"
#include "core/messages.h"
#include "core/textfile.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/utf.h"
#include "replace/change_definitions.h"
#include "replace/record_replacement.h"

namespace vask::replace {
namespace {

using test::listFolder;
using test::readBytes;
using test::sjis;
using test::TempDir;
using test::writeBytes;
using Texts = std::vector<std::u16string>;

TEST(CsvSet, TrimsSplitsAndFillsFromTheSecondLineOn) {
    struct Case {
        std::string bytes;
        Texts oldValues;
        Texts newValues;
    };
    const Case cases[] = {
        {"", {}, {}},
        {"123,456\r\n123,456\r\n", {u"123", u"0000000123"}, {u"456", u"0000000456"}},
        {"7\r\n123\r\n\r\n", {u"7", u"0000000123", u"0000000000"}, {u"", u"0000000000", u"0000000000"}},
        {" a \t, b ,ignored\r\n AB , C\n", {u"a", u"00000000AB"}, {u"b", u"000000000C"}},
        {"\"1,2\",3", {u"1"}, {u"2"}},  // quotes are dropped and protect no comma
        {"x\r\n12345678901,abcdefghij", {u"x", u"12345678901"}, {u"", u"abcdefghij"}},
        {"x\r\n" + sjis(u"\u3000あ,い"), {u"x", u"00000000\u3000あ"}, {u"", u"000000000い"}},
        {"1,2\r\n\x1A"
         "3,4\r\n",
         {u"1"},
         {u"2"}},  // reading stops at 0x1A
        {"1,2\rskipped\n3,4", {u"1", u"0000000003"}, {u"2", u"0000000004"}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeBytes(dir / "defs.csv", c.bytes);
        const auto definitions = CsvSet(fromPath(dir / "defs.csv"));
        ASSERT_TRUE(definitions.has_value()) << c.bytes;
        EXPECT_EQ(definitions->oldValues(), c.oldValues) << c.bytes;
        EXPECT_EQ(definitions->newValues(), c.newValues) << c.bytes;
    }
    for (const auto& path : {fromPath(dir / "missing.csv"), std::u16string(), fromPath(dir.path())}) {
        EXPECT_FALSE(CsvSet(path).has_value()) << sjis(path);
    }
    // Bytes that are no Shift-JIS character, also those the text-file rule skips after a CR.
    for (const char* bytes : {"\x81,\xFF\r\n", "1,2\r\x80\n"}) {
        writeBytes(dir / "defs.csv", bytes);
        EXPECT_THROW(CsvSet(fromPath(dir / "defs.csv")), Error) << bytes;
    }
}

TEST(CsvSet, AHundredThousandLinesAndTheFirstOfTwoEqualOldValuesWins) {
    std::string bytes = "abc,first\r\nABC,second\r\n";
    for (int i = 3; i <= 100000; ++i) bytes += std::to_string(i) + "," + std::to_string(i + 1) + "\r\n";
    bytes += "3,duplicate\r\n";
    TempDir dir;
    writeBytes(dir / "defs.csv", bytes);
    const auto definitions = CsvSet(fromPath(dir / "defs.csv"));
    ASSERT_TRUE(definitions.has_value());
    EXPECT_EQ(definitions->size(), 100001u);
    EXPECT_EQ(*definitions->newValueFor(u"aBc"), u"first");  // letter case ignored, first pair
    EXPECT_EQ(*definitions->newValueFor(u"0000000003"), u"0000000004");
    EXPECT_EQ(*definitions->newValueFor(u"0000100000"), u"0000100001");
    EXPECT_EQ(definitions->newValueFor(u"3"), nullptr);
}

TEST(ReplaceLine, KeyIsItemOneAndEveryExactCaseOccurrenceIsReplaced) {
    ChangeDefinitions definitions;
    definitions.add(u"123", u"456");
    definitions.add(u"abc", u"XyZ");
    definitions.add(u"ａｂ", u"全角");
    definitions.add(u"aa", u"b");
    definitions.add(u"1", u"11");
    definitions.add(u"", u"EMPTY");
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"A\t123\t123x\tz123", u"A\t456\t456x\tz456"},  // also inside other items
        {u"123\tA\t123", u"123\tA\t123"},                // item 0 is no key
        {u"A\t0000000123\t123", u"A\t0000000123\t123"},
        {u"A\tABC\tabc\tAbc", u"A\tXyZ\tabc\tAbc"},  // found ignoring case, replaced exact case
        {u"A\tＡＢ\tａｂ", u"A\t全角\tａｂ"},
        {u"\tX\t123", u"\tX\t456"},      // leading tab: the third column is item 1
        {u"A 123\tzzz", u"A 456\tzzz"},  // "A 123" is two items
        {u"A,,123", u"A,,123"},          // empty item 1
        {u"A", u"A"},
        {u"A,\" 123 \"", u"A,\" 456 \""},  // the key is trimmed
        {u"x\taa\taaa", u"x\tb\tba"},      // left to right, no overlap
        {u"x\t1\t1", u"x\t11\t11"},        // replaced text is not searched again
        {u"A,\" \"", u"A,\" \""},          // a blank key replaces nothing
    };
    for (const auto& [line, written] : cases) EXPECT_EQ(replaceLine(line, definitions), written) << sjis(line);
}

class Cnv : public ::testing::Test {
protected:
    // Replaces the data file `name` (in `folder`) by the definition file `defs.csv` in `in`.
    Outcome run(const std::string& defs, const std::string& input, const std::string& name = "FF1_2024.txt",
                const std::filesystem::path& folder = {}) {
        const auto where = folder.empty() ? in.path() : folder;
        writeBytes(in / "defs.csv", defs);
        writeBytes(where / name, input);
        return replace::Cnv(fromPath(where / "." / name), *CsvSet(fromPath(in / "defs.csv")), out.path());
    }
    TempDir in;
    TempDir out;
};

// Lines 1..n of the form "<k>\tK\t<k>K" with `odd` (bytes) in line `at`, and the lines
// written from them when K becomes V and `odd` is written as `written`.
std::pair<std::string, std::string> numberedLines(size_t n, size_t at, const std::string& odd,
                                                  const std::string& written) {
    std::string input, output;
    for (size_t k = 1; k <= n; ++k) {
        const std::string number = std::to_string(k);
        input += number + "\tK\t" + (k == at ? odd : number) + "K\r\n";
        output += number + "\tV\t" + (k == at ? written : number) + "V\r\n";
    }
    return {input, output};
}

TEST_F(Cnv, WritesEveryLineInCodePage932WithCrLf) {
    struct Case {
        std::string defs;
        std::string input;
        std::string written;
        std::vector<std::u16string> warnings = {};
    };
    // Lines are replaced many at a time: past such a batch, and with the first code that
    // does not come back as it is (the NEC selection of an IBM code) late in one.
    const auto [manyLines, manyWritten] = numberedLines(70, 45, "\xED\x40", "\xFA\x5C");
    const auto [manyAsciiLines, manyAsciiWritten] = numberedLines(70, 0, "", "");
    const Case cases[] = {
        // line 1 of the definitions is used as it is, later lines are filled
        {"123,456\r\n123,789\r\n", "A\t123\t123\r\nB\t0000000123\tx0000000123\nC",
         "A\t456\t456\r\nB\t0000000789\tx0000000789\r\nC\r\n"},
        {"7,8\r\n", "A\t0000000007\r\n", "A\t0000000007\r\n"},
        {"x,y\r\n7,8\r\n", "A\t7\r\n", "A\t7\r\n"},
        // a character without a Shift-JIS code is written as "?", and the run says so
        {sjis(u"あ,い\r\n"),
         "\xEF\xBB\xBFX\tあ\nY\t\xF0\x9F\x98\x80\rZ?",
         sjis(u"X\tい\r\nY\t?\r\nZ?\r\n"),
         {u"警告：Shift-JISにない文字1文字を「?」で書き出しました（出力の2行目）"}},
        {"a,b\r\n",
         std::string("\xFF\xFE"
                     "A\0\t\0a\0",
                     8),
         "A\tb\r\n"},
        // a code page 932 file is written as decoding and encoding give it: the IBM code of
        // a character the NEC code also holds comes out as the other, replaced or not
        {"K,V\r\n", "a\tK\t\xED\x40K\r\nb\tZ\t\xED\x40\r\n", "a\tV\t\xFA\x5CV\r\nb\tZ\t\xFA\x5C\r\n"},
        // the key's bytes found where they are no characters (the second byte of ァ is "A")
        {"AB,XY\r\n", sjis(u"x\tAB\tァB\tAB"), sjis(u"x\tXY\tァB\tXY\r\n")},
        {"K,V\r\n", manyLines, manyWritten},
        {"K,V\r\n", "\xFF\xFE" + utf16ToUtf16le(utf8ToUtf16(manyAsciiLines)), manyAsciiWritten},
        // 0x1A is an ordinary character
        {"1,2\r\n",
         "\x1A"
         "A\t1",
         "\x1A"
         "A\t2\r\n"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = run(c.defs, c.input);
        EXPECT_EQ(outcome.files(), std::vector<std::filesystem::path>{out / "FF1_2024R.txt"});
        EXPECT_EQ(outcome.message(), u"FF1_2024R.txtが作成されました");
        EXPECT_EQ(readBytes(out / "FF1_2024R.txt"), c.written) << c.input;
        EXPECT_EQ(outcome.warnings(), c.warnings) << c.input;
    }
}

TEST_F(Cnv, ANewValueWithoutACodeIsWrittenAsQuestionMarksAndCounted) {
    ChangeDefinitions definitions;
    definitions.add(u"K", u"\U0001F600");
    writeBytes(in / "FF1_2024.txt", "a\tK\tK\r\n");
    const Outcome outcome = replace::Cnv(fromPath(in / "FF1_2024.txt"), definitions, out.path());
    EXPECT_EQ(readBytes(out / "FF1_2024R.txt"), "a\t?\t?\r\n");
    EXPECT_EQ(outcome.warnings(),
              std::vector<std::u16string>{u"警告：Shift-JISにない文字2文字を「?」で書き出しました（出力の1行目）"});
}

TEST_F(Cnv, NamesTheCopyAndNeverReplacesTheRunsInputs) {
    struct Case {
        std::string input;
        bool inOutputFolder;
        std::string copy;
    };
    const Case cases[] = {
        {"a.txt.txt", false, "aR.txtR.txt"}, {"data.TXT", false, "data.TXT"},
        {"data.TXT", true, "dataR.TXT"},     {"data", true, "dataR"},
        {".hidden", true, ".hiddenR"},       {"a.b.csv", true, "a.bR.csv"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = run("1,2\r\n", "A\t1\r\n", c.input, c.inOutputFolder ? out.path() : in.path());
        EXPECT_EQ(outcome.files(), std::vector<std::filesystem::path>{out / c.copy}) << c.input;
        EXPECT_EQ(readBytes((c.inOutputFolder ? out : in) / c.input), "A\t1\r\n") << c.input;
        EXPECT_EQ(readBytes(out / c.copy), "A\t2\r\n") << c.input;
    }
    // A definition file that bears the copy's name is kept as well.
    writeBytes(out / "xR.txt", "1,2\r\n");
    writeBytes(in / "x.txt", "A\t1\r\n");
    const Outcome outcome = replace::Cnv(fromPath(in / "x.txt"), *CsvSet(fromPath(out / "xR.txt")), out.path());
    EXPECT_EQ(outcome.files(), std::vector<std::filesystem::path>{out / "xRR.txt"});
    EXPECT_EQ(readBytes(out / "xR.txt"), "1,2\r\n");
}

TEST_F(Cnv, RefusalsAndFailuresWriteNothing) {
    EXPECT_EQ(replace::Cnv(fromPath(in / "missing.txt"), ChangeDefinitions(), out.path()).message(), msg::kNoFile);
    for (const std::string empty : {"", "\xEF\xBB\xBF", "\xFF\xFE"}) {
        const Outcome outcome = run("1,2\r\n", empty);
        EXPECT_TRUE(outcome.isRefusal());
        EXPECT_EQ(outcome.message(), msg::kNotFormOneFile);
    }
    // A NUL byte in a file without a byte-order mark: UTF-16 without its mark, or no text.
    for (const std::string& nul : {std::string("A\0\t\0001\0", 6), std::string("A\t1\r\n\0", 6)}) {
        EXPECT_THROW(run("1,2\r\n", nul), Error);
    }
    EXPECT_TRUE(listFolder(out.path()).empty());
    writeBytes(in / "FF1_2024.txt", "A\t1\r\n");
    EXPECT_THROW(replace::Cnv(fromPath(in / "FF1_2024.txt"), ChangeDefinitions(), out / "missing"), Error);
    EXPECT_FALSE(std::filesystem::exists(out / "missing"));
}

TEST_F(Cnv, AnInputNameThatIsNoWindowsFileNameGivesNoCopy) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows allows no '*' in a file name, so no input can bear one.";
#endif
    try {
        run("1,2\r\n", "A\t1\r\n", "a*b.txt");
        ADD_FAILURE() << "a name with * was used";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), msg::invalidFileName(u"a*bR.txt"));
    }
    EXPECT_TRUE(listFolder(out.path()).empty());
}

}  // namespace
}  // namespace vask::replace
