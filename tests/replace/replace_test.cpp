#include <gtest/gtest.h>

#include "../support/test_support.h"
#include "core/textfile.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "replace/change_definitions.h"
#include "replace/comma_text_items.h"
#include "replace/input_lines.h"
#include "replace/record_replacement.h"

namespace vask {
namespace {

using test::listFolder;
using test::readBytes;
using test::sjis;
using test::TempDir;
using test::writeBytes;
using Texts = std::vector<std::u16string>;

Texts itemsOf(std::u16string_view line) {
    Texts items;
    for (std::u16string item; commaTextItem(line, items.size(), item);) items.push_back(item);
    return items;
}

TEST(CommaTextItems, BlanksAndCommasSeparateAndQuotesProtect) {
    struct Case {
        std::u16string line;
        Texts items;
    };
    const Case cases[] = {
        {u"", {}},
        {u" \t \x01", {}},
        {u"A\tB\tC", {u"A", u"B", u"C"}},
        {u"\tA\tB", {u"A", u"B"}},              // a leading empty column gives no item
        {u"A\t\tB", {u"A", u"B"}},              // nor does an empty column inside
        {u"A B\tC", {u"A", u"B", u"C"}},        // a space splits a column
        {u"A,,B", {u"A", u"", u"B"}},
        {u"A , ,B", {u"A", u"", u"B"}},
        {u"A,", {u"A", u""}},                   // a comma ending the line adds an empty item
        {u"A, ", {u"A"}},                       // ... but not when blanks follow it
        {u",", {u"", u""}},
        {u" ,B", {u"", u"B"}},
        {u"\"x, y\"z,w", {u"x, y", u"z", u"w"}},
        {u"\"a\"\"b\",c", {u"a\"b", u"c"}},
        {u"\"\",x", {u"", u"x"}},
        {u"\"open, to the end", {u"open, to the end"}},
        {u"ab\"c d\"", {u"ab\"c", u"d\""}},     // a quote inside a plain item is a character
        {std::u16string(u"A\0B,C", 5), {std::u16string(u"A\0B", 3), u"C"}},
        {u"\u3000A\u3000,B", {u"\u3000A\u3000", u"B"}},  // the full-width space is no blank
    };
    for (const auto& c : cases) EXPECT_EQ(itemsOf(c.line), c.items) << test::sjis(c.line);
}

std::optional<ChangeDefinitions> definitionsFrom(const TempDir& dir, const std::string& bytes) {
    writeBytes(dir / "defs.csv", bytes);
    return CsvSet(fromPath(dir / "defs.csv"));
}

TEST(CsvSet, TrimsSplitsAndFillsFromTheSecondLineOn) {
    struct Case {
        std::string bytes;
        Texts oldValues;
        Texts newValues;
    };
    const Case cases[] = {
        {"", {}, {}},
        {"123,456\r\n123,456\r\n", {u"123", u"0000000123"}, {u"456", u"0000000456"}},
        {"1,2\r\n123\r\n\r\n", {u"1", u"0000000123", u"0000000000"}, {u"2", u"0000000000", u"0000000000"}},
        {"7\r\n", {u"7"}, {u""}},
        {" a \t, b ,ignored\r\n AB , C\n", {u"a", u"00000000AB"}, {u"b", u"000000000C"}},
        {"\"1,2\",3", {u"1"}, {u"2"}},  // quotes are dropped and protect no comma
        {"x\r\n12345678901,abcdefghij\r\n", {u"x", u"12345678901"}, {u"", u"abcdefghij"}},
        {"x\r\n" + sjis(u"\u3000あ,い"), {u"x", u"00000000\u3000あ"}, {u"", u"000000000い"}},
        {"1,2\r\n\x1A" "3,4\r\n", {u"1"}, {u"2"}},        // reading stops at 0x1A
        {"1,2\rskipped\n3,4", {u"1", u"0000000003"}, {u"2", u"0000000004"}},
        {"\x81,\xFF\r\n", {u"\uFFFD"}, {u"\uFFFD"}},      // invalid bytes decode, never fail
    };
    TempDir dir;
    for (const auto& c : cases) {
        const auto definitions = definitionsFrom(dir, c.bytes);
        ASSERT_TRUE(definitions.has_value()) << c.bytes;
        EXPECT_EQ(definitions->oldValues(), c.oldValues) << c.bytes;
        EXPECT_EQ(definitions->newValues(), c.newValues) << c.bytes;
        EXPECT_EQ(definitions->sourceFile(), dir / "defs.csv");
    }
}

TEST(CsvSet, NoFileGivesNothing) {
    TempDir dir;
    for (const auto& path : {fromPath(dir / "missing.csv"), std::u16string(), fromPath(dir.path())}) {
        EXPECT_FALSE(CsvSet(path).has_value()) << test::sjis(path);
    }
}

TEST(CsvSet, AHundredThousandLinesKeepFirstWinsAndTheLastPair) {
    std::string bytes = "head,first\r\n";
    for (int i = 2; i <= 100000; ++i) bytes += std::to_string(i) + "," + std::to_string(i + 1) + "\r\n";
    bytes += "2,duplicate\r\n";
    TempDir dir;
    const auto definitions = definitionsFrom(dir, bytes);
    ASSERT_TRUE(definitions.has_value());
    EXPECT_EQ(definitions->size(), 100001u);
    EXPECT_EQ(*definitions->newValueFor(u"0000000002"), u"0000000003");
    EXPECT_EQ(*definitions->newValueFor(u"0000100000"), u"0000100001");
    EXPECT_EQ(*definitions->newValueFor(u"HEAD"), u"first");
}

TEST(ChangeDefinitions, FirstPairWinsAndLetterCaseIsIgnored) {
    ChangeDefinitions definitions;
    definitions.add(u"abc", u"1");
    definitions.add(u"ABC", u"2");
    definitions.add(u"ＡｂＣ", u"3");
    definitions.add(u"abc", u"4");
    EXPECT_EQ(*definitions.newValueFor(u"aBc"), u"1");
    EXPECT_EQ(*definitions.newValueFor(u"ａＢｃ"), u"3");  // full-width letters fold too
    EXPECT_EQ(definitions.newValueFor(u"abcd"), nullptr);
    EXPECT_EQ(definitions.newValueFor(u"ab"), nullptr);
    EXPECT_EQ(definitions.size(), 4u);
}

TEST(ReplaceLine, KeyIsItemOneAndEveryExactCaseOccurrenceIsReplaced) {
    ChangeDefinitions definitions;
    for (const auto& [oldValue, newValue] : std::vector<std::pair<std::u16string, std::u16string>>{
             {u"123", u"456"}, {u"0000000007", u"0000000008"}, {u"abc", u"XyZ"}, {u"aa", u"b"}, {u"1", u"11"},
             {u"", u"EMPTY"}}) {
        definitions.add(oldValue, newValue);
    }
    struct Case {
        std::u16string line;
        std::u16string written;
    };
    const Case cases[] = {
        {u"A\t123\t123x\tz123", u"A\t456\t456x\tz456"},  // also inside other items
        {u"123\tA\t123", u"123\tA\t123"},              // item 0 is no key
        {u"A\t0000000123\t123", u"A\t0000000123\t123"},  // a filled item is not 123
        {u"B\t0000000007\t0000000007", u"B\t0000000008\t0000000008"},
        {u"A\tABC\tabc\tAbc", u"A\tXyZ\tabc\tAbc"},     // found ignoring case, replaced exact case
        {u"\tX\t123", u"\tX\t456"},                     // leading tab: third column is item 1
        {u"A 123\tzzz", u"A 456\tzzz"},                 // "A 123" is two items
        {u"A,,123", u"A,,123"},                         // empty item 1
        {u"A", u"A"},
        {u"", u""},
        {u"A,\"123\"", u"A,\"456\""},
        {u"A,\" 123 \"", u"A,\" 456 \""},               // the key is trimmed
        {u"x\taa\taaa", u"x\tb\tba"},                    // left to right, no overlap
        {u"x\t1\t1", u"x\t11\t11"},                      // replaced text is not searched again
        {u"A,\" \"", u"A,\" \""},                        // blank key: nothing to replace
        {u"A\t999\t123", u"A\t999\t123"},
    };
    for (const auto& c : cases) EXPECT_EQ(replaceLine(c.line, definitions), c.written) << test::sjis(c.line);
}

TEST(OutputName, TxtBecomesRTxtInTheFileNamePart) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"/data/FF1_2024.txt", u"FF1_2024R.txt"},
        {u"C:\\data\\x.txt", u"xR.txt"},
        {u"D:name.txt", u"nameR.txt"},
        {u"data.TXT", u"data.TXT"},
        {u"a.txt.txt", u"aR.txtR.txt"},
        {u"a.txtx", u"aR.txtx"},
        {u"noext", u"noext"},
    };
    for (const auto& [input, name] : cases) EXPECT_EQ(replacedFileName(input), name) << test::sjis(input);
}

TEST(OutputName, RGoesBeforeTheLastExtension) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"data.TXT", u"dataR.TXT"}, {u"noext", u"noextR"}, {u".hidden", u".hiddenR"},
        {u"a.b.c", u"a.bR.c"},       {u"xR.txt", u"xRR.txt"},
    };
    for (const auto& [name, mended] : cases) EXPECT_EQ(withRBeforeExtension(name), mended) << test::sjis(name);
}

TEST(InputLines, GivesTheLinesOfTheLineListLoader) {
    const std::string cases[] = {
        "",
        "a",
        "a\r\nb\r\n",
        "a\rb\nc\r\n\r\nd\r",
        "\r\n\n\r",
        "x\x1Ay\r\n\x1A",
        "\x81\r\n\x82\xA0\n\x81",  // a lead byte before a break, a character, a lead byte at the end
        "\xEF\xBB\xBF" "a\r\n\xE3\x81\x82\rb",
        std::string("\xFF\xFE" "a\0\r\0\n\0b\0", 10),
        std::string("\xFE\xFF\0a\0\n\0", 7),  // odd last byte
        "\xEF\xBB",                             // too short to be a mark
        std::string(300000, 'x') + "\r" + std::string(300000, 'y'),
    };
    TempDir dir;
    for (const auto& bytes : cases) {
        writeBytes(dir / "in", bytes);
        InputLines lines(dir / "in");
        Texts streamed;
        for (std::u16string line; lines.next(line);) streamed.push_back(line);
        EXPECT_EQ(streamed, LoadLineList(dir / "in")) << bytes.substr(0, 40);
    }
}

class Cnv : public ::testing::Test {
protected:
    // Runs the replacement of `input` (bytes) named `name` with the definition file `defs`.
    Outcome run(const std::string& defs, const std::string& input, const std::string& name = "FF1_2024.txt") {
        writeBytes(in / "defs.csv", defs);
        writeBytes(in / name, input);
        const auto definitions = CsvSet(fromPath(in / "defs.csv"));
        return vask::Cnv(fromPath(in / name), *definitions, out.path());
    }
    TempDir in;
    TempDir out;
};

TEST_F(Cnv, LineOneIsUsedAsItIsAndLaterLinesAreFilled) {
    const Outcome outcome = run("123,456\r\n123,789\r\n7,8\r\n",
                                "A\t123\t123\r\nB\t0000000123\tx0000000123\r\nC\t7\r\nD\t0000000007\t0000000007\r\n");
    ASSERT_FALSE(outcome.isRefusal());
    EXPECT_EQ(outcome.files(), std::vector<std::filesystem::path>{out / "FF1_2024R.txt"});
    EXPECT_EQ(outcome.message(), u"FF1_2024R.txtが作成されました");
    EXPECT_EQ(readBytes(out / "FF1_2024R.txt"),
              "A\t456\t456\r\nB\t0000000789\tx0000000789\r\nC\t7\r\nD\t0000000008\t0000000008\r\n");
}

TEST_F(Cnv, AFilledPairDoesNotMatchAnUnfilledItemNorTheReverse) {
    run("7,8\r\n7,9\r\n", "A\t0000000007\r\nB\t7\r\n");
    EXPECT_EQ(readBytes(out / "FF1_2024R.txt"), "A\t0000000009\r\nB\t8\r\n");
    run("x,y\r\n7,8\r\n", "A\t7\r\n");
    EXPECT_EQ(readBytes(out / "FF1_2024R.txt"), "A\t7\r\n");
}

TEST_F(Cnv, DecodesByByteOrderMarkAndWritesCodePage932WithCrLf) {
    run(sjis(u"あ,い\r\n"), "\xEF\xBB\xBFX\tあ\nY\t\xF0\x9F\x98\x80\rZ");
    EXPECT_EQ(readBytes(out / "FF1_2024R.txt"), sjis(u"X\tい\r\nY\t?\r\nZ\r\n"));
    run("a,b\r\n", std::string("\xFF\xFE" "A\0\t\0a\0", 8));
    EXPECT_EQ(readBytes(out / "FF1_2024R.txt"), "A\tb\r\n");
}

TEST_F(Cnv, InputThatIsNotTextGivesADefinedCopy) {
    run("1,2\r\n", std::string("\0\xFF\x81\r\n\x1A" "A\t1\r\n", 11));
    // 0x1A is an ordinary character of the data file (and a blank between items).
    EXPECT_EQ(readBytes(out / "FF1_2024R.txt"), std::string("\0??\r\n\x1A" "A\t2\r\n", 11));
}

TEST_F(Cnv, RefusalsWriteNothing) {
    const ChangeDefinitions none;
    const Outcome missing = vask::Cnv(fromPath(in / "missing.txt"), none, out.path());
    EXPECT_TRUE(missing.isRefusal());
    EXPECT_EQ(missing.message(), kNoInputFile);
    for (const std::string empty : {"", "\xEF\xBB\xBF", "\xFF\xFE"}) {
        const Outcome outcome = run("1,2\r\n", empty);
        EXPECT_TRUE(outcome.isRefusal());
        EXPECT_EQ(outcome.message(), kNotAnFFFile);
    }
    EXPECT_TRUE(listFolder(out.path()).empty());
}

TEST_F(Cnv, ACopyNeverReplacesTheRunsInputs) {
    writeBytes(out / "defs.csv", "1,2\r\n");
    const auto definitions = CsvSet(fromPath(out / "defs.csv"));
    const std::pair<std::string, std::string> cases[] = {
        {"data.TXT", "dataR.TXT"}, {"data", "dataR"}, {"data.csv", "dataR.csv"}};
    for (const auto& [name, copy] : cases) {
        writeBytes(out / name, "A\t1\r\n");
        const Outcome outcome = vask::Cnv(fromPath(out / "." / name), *definitions, out.path());
        EXPECT_EQ(outcome.files(), std::vector<std::filesystem::path>{out / copy}) << name;
        EXPECT_EQ(readBytes(out / name), "A\t1\r\n") << name;
        EXPECT_EQ(readBytes(out / copy), "A\t2\r\n") << name;
    }
    // The definition file named like the copy is kept as well.
    writeBytes(out / "xR.txt", "1,2\r\n");
    writeBytes(in / "x.txt", "A\t1\r\n");
    const auto byCopyName = CsvSet(fromPath(out / "xR.txt"));
    const Outcome outcome = vask::Cnv(fromPath(in / "x.txt"), *byCopyName, out.path());
    EXPECT_EQ(outcome.files(), std::vector<std::filesystem::path>{out / "xRR.txt"});
    EXPECT_EQ(readBytes(out / "xR.txt"), "1,2\r\n");
}

TEST_F(Cnv, AnOlderCopyIsReplacedWhole) {
    writeBytes(out / "FF1_2024R.txt", std::string(1000, 'o'));
    run("1,2\r\n", "A\t1");
    EXPECT_EQ(readBytes(out / "FF1_2024R.txt"), "A\t2\r\n");
}

TEST_F(Cnv, FailuresRaiseAndLeaveNoFile) {
    try {
        run("1,2\r\n", "A\t1\r\n", "a*b.txt");
        ADD_FAILURE() << "a name with * was used";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), msg::invalidFileName(u"a*bR.txt"));
    }
    EXPECT_EQ(listFolder(out.path()), std::vector<std::string>{});
    writeBytes(in / "ok.txt", "A\t1\r\n");
    const auto definitions = CsvSet(fromPath(in / "defs.csv"));
    EXPECT_THROW(vask::Cnv(fromPath(in / "ok.txt"), *definitions, out / "missing"), Error);
    EXPECT_FALSE(std::filesystem::exists(out / "missing"));
}

}  // namespace
}  // namespace vask
