#include <gtest/gtest.h>

#include <string>

#include "../support/test_support.h"
#include "formone/mapping.h"
#include "platform/errors.h"

namespace vask::formone {
namespace {

using test::readBytes;
using test::sjis;
using test::writeBytes;

TEST(NormalizeKey, DropsOneLeadingByteOrderMarkThenTheBlanks) {
    EXPECT_EQ(NormalizeKey(u"\uFEFF 身長\t"), u"身長");
    EXPECT_EQ(NormalizeKey(u"\uFEFF\uFEFFa"), u"\uFEFFa");
    EXPECT_EQ(NormalizeKey(u" \uFEFFa"), u"\uFEFFa");
    EXPECT_EQ(NormalizeKey(u"\u3000a\u3000"), u"\u3000a\u3000");
}

class Mapping : public ::testing::Test {
protected:
    // The mapped output of `input` under `mapping` (both given as text, written in code page 932).
    std::string map(std::u16string_view mapping, std::u16string_view input) {
        writeBytes(mappingFile, sjis(mapping));
        writeBytes(inputFile, sjis(input));
        EXPECT_TRUE(ConvertTSVWithMapping(inputFile, outputFile, mappingFile));
        return readBytes(outputFile);
    }
    test::TempDir dir;
    std::filesystem::path mappingFile = dir / "movacal.csv";
    std::filesystem::path inputFile = dir / "ff.txt";
    std::filesystem::path outputFile = dir / "output.tsv";
};

TEST_F(Mapping, RenamesAndDropsColumnsByTheHeaderTitles) {
    const struct {
        std::u16string mapping;
        std::u16string input;
        std::u16string expected;
    } cases[] = {
        {u"身長,Height", u"番号\t身長\r\n1\t170\r\n", u"番号\tHeight\r\n1\t170\r\n"},
        {u"体重,\r\n", u"番号\t体重\t身長\n1\t60\t170", u"番号\t身長\r\n1\t170\r\n"},
        {u"体重", u"番号\t体重\r1\t60\r", u"番号\r\n1\r\n"},
        {u" 身長 , Height \r\n", u"身長\r\n170\r\n", u"Height\r\n170\r\n"},
        {u"ht,X", u"Ht\r\n1\r\n", u"Ht\r\n1\r\n"},                                     // letter case counts
        {u"a,first\r\na,second", u"a\tb\r\n1\t2\r\n", u"second\tb\r\n1\t2\r\n"},       // the later line wins
        {u"a,", u"a\tb\ta\r\n1\t2\t3\r\n", u"b\r\n2\r\n"},                             // every occurrence
        {u"a,b,c\r\n,x\r\n\r\n", u"a\t\tc\r\n1\t2\t3\r\n", u"b\t\tc\r\n1\t2\t3\r\n"},  // empty cells and keys
        {u"", u"a\tb\r\n1\t2\t3\r\n\r\n1", u"a\tb\r\n1\t2\r\n\r\n1\r\n"},              // beyond the header: dropped
        {u"", u"\r\n1\t2\r\n", u"\r\n\r\n"},                                           // no header cell at all
        {u"a,A", u"a\tb", u"A\tb\r\n"},                                                // a header only
    };
    for (const auto& c : cases) EXPECT_TRUE(map(c.mapping, c.input) == sjis(c.expected)) << sjis(c.mapping);
}

// The mapping file is code page 932 without a mark: a UTF-8 mark is no Shift-JIS text. The
// input is read by its mark, as the choosing step reads it.
TEST_F(Mapping, TheMappingFileIsShiftJisTheInputIsReadByItsMark) {
    writeBytes(mappingFile, "\xEF\xBB\xBF" + sjis(u"身長,Height\r\n体重,Weight"));
    writeBytes(inputFile, sjis(u"身長\t体重\r\n"));
    EXPECT_THROW(ConvertTSVWithMapping(inputFile, outputFile, mappingFile), Error);
    writeBytes(mappingFile, sjis(u"身長,Height"));
    // 身長 / a?𠮷 in UTF-8 with its mark: 𠮷 has no Shift-JIS code, the "?" before it is none
    // of the lost characters.
    writeBytes(inputFile, "\xEF\xBB\xBF\xE8\xBA\xAB\xE9\x95\xB7\r\na?\xF0\xA0\xAE\xB7\r\n");
    LostCharacters lost;
    ASSERT_TRUE(ConvertTSVWithMapping(inputFile, outputFile, mappingFile, &lost));
    EXPECT_EQ(readBytes(outputFile), "Height\r\na??\r\n");
    EXPECT_EQ(lost.count, 1u);
    EXPECT_EQ(lost.lines, std::vector<size_t>{2});
}

TEST_F(Mapping, AnInputWithoutAnyLineNeitherCreatesNorChangesTheOutput) {
    writeBytes(mappingFile, "");
    writeBytes(inputFile, "");
    writeBytes(outputFile, "older");
    EXPECT_FALSE(ConvertTSVWithMapping(inputFile, outputFile, mappingFile));
    EXPECT_EQ(readBytes(outputFile), "older");
}

TEST_F(Mapping, AMissingFileStopsTheStepAndKeepsTheOutput) {
    writeBytes(outputFile, "older");
    writeBytes(inputFile, "a\r\n");
    EXPECT_THROW(ConvertTSVWithMapping(inputFile, outputFile, dir / "none.csv"), Error);
    writeBytes(mappingFile, "");
    EXPECT_THROW(ConvertTSVWithMapping(dir / "none.txt", outputFile, mappingFile), Error);
    EXPECT_EQ(readBytes(outputFile), "older");
    EXPECT_EQ(test::listFolder(dir.path()), (std::vector<std::string>{"ff.txt", "movacal.csv", "output.tsv"}));
}

}  // namespace
}  // namespace vask::formone
