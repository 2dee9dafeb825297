#include <gtest/gtest.h>

#include <string>

#include "../support/test_support.h"
#include "core/pseudonym.h"
#include "core/text.h"
#include "formone/anonymiser.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::formone {
namespace {

using test::readBytes;
using test::sjis;
using test::writeBytes;

TEST(AnonymiserName, ReplacesEveryLowerCaseTxt) {
    const struct {
        std::u16string path;
        std::u16string name;
    } cases[] = {{u"FF1_202404.txt", u"FF1_202404ano.txt"},
                 {u"a.txt.txt", u"aano.txtano.txt"},
                 {u"data.TXT", u"data.TXT"},
                 {u"data.tsv", u"data.tsv"},
                 {u"C:\\in\\x.txt", u"xano.txt"},
                 {u"/in/d.txt/y", u"y"}};
    for (const auto& c : cases) EXPECT_EQ(anonymisedFileName(c.path), c.name);
}

class Anonymiser : public ::testing::Test {
protected:
    test::TempDir in;
    test::TempDir program;
};

TEST_F(Anonymiser, EmptiesTheNameOfEveryRecordLine) {
    writeBytes(in / "FF1_202404.txt",
               sjis(u"番号\t氏名\t年月\r\n1234\t山田　太郎\t202404\n9\r\n\r\n\t\r5\t名\t\r\n6\t名"));
    const auto outcome = runAnonymiser(fromPath(in / "FF1_202404.txt"), program.path());
    ASSERT_FALSE(outcome.isRefusal());
    EXPECT_EQ(outcome.message(), u"FF1_202404ano.txtが作成されました");
    EXPECT_EQ(outcome.files(), std::vector<std::filesystem::path>{program / "FF1_202404ano.txt"});
    EXPECT_EQ(readBytes(program / "FF1_202404ano.txt"),
              sjis(u"番号\t氏名\t年月\r\n1234\t\t202404\r\n9\r\n\r\n\t\r\n5\t\t\r\n6\t\r\n"));
}

TEST_F(Anonymiser, NeverReplacesItsInput) {
    writeBytes(program / "data.tsv", "h\tname\r\n1\tname\r\n");
    const auto outcome = runAnonymiser(fromPath(program / "data.tsv"), program.path());
    EXPECT_EQ(outcome.files(), std::vector<std::filesystem::path>{program / "dataano.tsv"});
    EXPECT_EQ(readBytes(program / "data.tsv"), "h\tname\r\n1\tname\r\n");
    EXPECT_EQ(readBytes(program / "dataano.tsv"), "h\tname\r\n1\t\r\n");
}

TEST_F(Anonymiser, RefusesABlankPathAndStopsOnBadOnesWritingNothing) {
    for (const auto* blank : {u"", u" \t"}) {
        const auto outcome = runAnonymiser(blank, program.path());
        EXPECT_TRUE(outcome.isRefusal());
        EXPECT_EQ(outcome.message(), u"ファイルが選択されていません。");
    }
    EXPECT_THROW(runAnonymiser(fromPath(in / "missing.txt"), program.path()), Error);
    EXPECT_THROW(runAnonymiser(fromPath(in.path()) + u"/a|b.txt", program.path()), Error);
    EXPECT_THROW(runAnonymiser(fromPath(in.path()) + u"/", program.path()), Error);
    EXPECT_TRUE(test::listFolder(program.path()).empty());
}

// The pseudonymisation profile, field by field: the chart number (field 0), the name
// (field 1) and the postal code (field 5) of a record line; every other field, the header
// and lines without a tab pass as they are.
TEST_F(Anonymiser, ThePseudonymProfileReplacesTheChartNumberAndMasksThePostalCode) {
    const std::string key(32, '\x5A');
    ChartPseudonyms reference(key);
    const std::u16string p1234(reference.pseudonymOf(u"1234"));
    ASSERT_TRUE(hasPseudonymForm(p1234));
    const struct {
        std::u16string line;
        std::u16string written;
    } cases[] = {
        // One patient, however the chart number is written.
        {u"1234\t山田\t\t202404\t\t1234567\t170", p1234 + u"\t\t\t202404\t\t1230000\t170"},
        {u"0001234\t山田", p1234 + u"\t"},
        {u"１２３４-01\t山田\tx", p1234 + u"\t\tx"},
        // A chart number that normalises to nothing stays empty.
        {u"-1\t山田\t\t\t\t123-4567", u"\t\t\t\t\t123-0000"},
        {u"\t山田", u"\t"},
        // Postal codes: later digits become 0 of their own width; other characters stay.
        {u"1234\t\t\t\t\t１２３－４５６７\t", p1234 + u"\t\t\t\t\t１２３－００００\t"},
        {u"1234\t\t\t\t\t〒12 3-45６7", p1234 + u"\t\t\t\t\t〒12 3-00０0"},
        {u"1234\t\t\t\t\t98", p1234 + u"\t\t\t\t\t98"},
        // Fields after the postal code, the disease name among them, pass unchanged.
        {u"1234\t\t\t\t\t\t1234567\t" + std::u16string(11, u'\t') + u"高血圧症\t1234",
         p1234 + u"\t\t\t\t\t\t1234567\t" + std::u16string(11, u'\t') + u"高血圧症\t1234"},
        // A line without a tab is no record: it passes as it is.
        {u"1234", u"1234"},
        {u"", u""},
    };
    for (const auto& c : cases) {
        writeBytes(in / "ff.txt", sjis(u"番号\t氏名\r\n" + c.line + u"\r\n"));
        ChartPseudonyms pseudonyms(key);
        runAnonymiser(fromPath(in / "ff.txt"), program.path(), &pseudonyms);
        EXPECT_EQ(test::fromSjis(readBytes(program / "ffano.txt")), u"番号\t氏名\r\n" + c.written + u"\r\n")
            << utf16ToUtf8(c.line);
    }
}

TEST_F(Anonymiser, ACollisionOfPseudonymsStopsTheRunWritingNothing) {
    std::u16string text = u"h\r\n";
    for (int n = 1; n <= 30; ++n) text += fromAscii(std::to_string(n)) + u"\t名\r\n";
    writeBytes(in / "ff.txt", sjis(text));
    ChartPseudonyms oneLetter(std::string(32, '\x01'), 1);  // 25 pseudonyms for 30 patients
    EXPECT_THROW(runAnonymiser(fromPath(in / "ff.txt"), program.path(), &oneLetter), Error);
    EXPECT_TRUE(test::listFolder(program.path()).empty());
}

}  // namespace
}  // namespace vask::formone
