#include <gtest/gtest.h>

#include "../support/test_support.h"
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

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

// Windows tells names apart without regard to letter case and drops trailing dots and
// blanks; POSIX compares them as they are.
TEST(FileNames, ProgramFilesAreKnownAsThePlatformComparesNames) {
    for (const auto* name : {u"user.ini", u"siyo4.csv", u"movacal.csv", u"manual", u"vask", u"vask-cli",
                             u"vask-cli.exe", u"Qt6Core.dll", u"vask.png", u"vask.desktop"}) {
        EXPECT_TRUE(isProgramFileName(name));
    }
    for (const auto* name : {u"202404_carte.csv", u"userano.ini", u"user.ini.txt", u"exe", u"manual.txt"}) {
        EXPECT_FALSE(isProgramFileName(name));
    }
    for (const auto* name : {u"USER.INI", u"user.ini.", u"user.ini ", u"Siyo4.CSV", u"X.EXE", u"MANUAL.."}) {
        EXPECT_EQ(isProgramFileName(name), kWindows);
    }
}

TEST(FileNames, OutputPathKeepsOffInputsAndProgramFiles) {
    test::TempDir dir;
    test::writeBytes(dir / "data", "input");
    test::writeBytes(dir / "dataR", "input too");
    const auto input = dir / "data";
    EXPECT_EQ(outputPath(dir.path(), u"new.csv", {.inputs = {input}}), dir / "new.csv");
    EXPECT_EQ(outputPath(dir.path(), u"data", {.inputs = {input, dir / "dataR"}, .markerOnInput = u"R"}),
              dir / "dataRR");
    const auto message = [&](std::u16string_view name, const OutputRules& rules) {
        try {
            outputPath(dir.path(), name, rules);
        } catch (const Error& e) {
            return e.message();
        }
        return std::u16string();
    };
    EXPECT_EQ(message(u"data", {.inputs = {input}}), msg::inputWouldBeReplaced(input));
    EXPECT_EQ(message(u"user.ini", {.inputs = {input}}), msg::programFileWouldBeReplaced(dir / "user.ini"));
    EXPECT_EQ(message(u"user.ini", {.inputs = {input}, .markerOnInput = u"ano"}),
              msg::programFileWouldBeReplaced(dir / "user.ini"));
    EXPECT_EQ(message(u"a/b", {}), u"ファイル名に使えない文字が含まれています：a/b");
    // Outside the program folder (the Downloads folder of the FF1 link) any plain name goes.
    EXPECT_EQ(outputPath(dir.path(), u"user.ini", {.programFolder = false}), dir / "user.ini");
}

}  // namespace
}  // namespace vask
