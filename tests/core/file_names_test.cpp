#include <gtest/gtest.h>

#include "core/file_names.h"
#include "platform/errors.h"

namespace vask {
namespace {

TEST(FileNames, OnlyPlainNamesPass) {
    for (const auto* name : {u"202404_carte.csv", u"(50611提出_社保)RECEIPTC.uke", u"_1.UKE", u"...x", u"a b"}) {
        EXPECT_TRUE(isPlainFileName(name));
    }
    for (const auto* name : {u"", u".", u"..", u"2024/04_ff1all.csv", u"..\\x_ff1all.csv", u"a:b", u"a\tb", u"a?"}) {
        EXPECT_FALSE(isPlainFileName(name));
    }
    try {
        requirePlainFileName(u"2024/04_carte.csv");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), u"ファイル名に使えない文字が含まれています：2024/04_carte.csv");
    }
}

TEST(FileNames, NamePartFollowsTheLastSeparator) {
    EXPECT_EQ(fileNamePart(u"C:\\data\\FF1_202404.txt"), u"FF1_202404.txt");
    EXPECT_EQ(fileNamePart(u"/home/a/b.txt"), u"b.txt");
    EXPECT_EQ(fileNamePart(u"C:b.txt"), u"b.txt");
    EXPECT_EQ(fileNamePart(u"b.txt"), u"b.txt");
    EXPECT_EQ(fileNamePart(u"dir/"), u"");
}

TEST(FileNames, MarkerGoesBeforeTheLastExtension) {
    EXPECT_EQ(insertBeforeExtension(u"data.tsv", u"ano"), u"dataano.tsv");
    EXPECT_EQ(insertBeforeExtension(u"a.b.c", u"R"), u"a.bR.c");
    EXPECT_EQ(insertBeforeExtension(u"data", u"R"), u"dataR");
    EXPECT_EQ(insertBeforeExtension(u".hidden", u"R"), u".hiddenR");
}

}  // namespace
}  // namespace vask
