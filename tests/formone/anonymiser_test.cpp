#include <gtest/gtest.h>

#include <string>

#include "../support/test_support.h"
#include "formone/anonymiser.h"
#include "platform/errors.h"
#include "platform/paths.h"

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

}  // namespace
}  // namespace vask::formone
