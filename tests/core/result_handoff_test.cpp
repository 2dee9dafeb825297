#include <gtest/gtest.h>

#include "../support/test_support.h"
#include "core/result_handoff.h"
#include "platform/errors.h"

namespace vask {
namespace {

using test::listFolder;
using test::readBytes;
using test::sjis;
using test::TempDir;
using test::writeBytes;

TEST(ClinicFolderName, ComesFromContentAndCannotLeaveTheSaveFolder) {
    EXPECT_EQ(clinicFolderName(u"0123456", u"VELTクリニック"), u"0123456_VELTクリニック");
    EXPECT_EQ(clinicFolderName(u"..\\..", u"x"), u".._.._x");
    EXPECT_EQ(clinicFolderName(u"a/b:c*d?e\"f<g>h|i", u"\x01\x1F"), u"a_b_c_d_e_f_g_h_i___");
    EXPECT_EQ(clinicFolderName(u".", u"."), u"._.");
    EXPECT_EQ(clinicFolderName(u"", u""), u"_");
}

class Handoff : public ::testing::Test {
protected:
    TempDir program_;
    TempDir downloads_;
    TempDir saveFolder_;
};

TEST_F(Handoff, WithoutASaveFolderResultsGoToDownloads) {
    writeBytes(program_ / "a.UKE", "a");
    writeBytes(program_ / "b.UKE", "b");
    writeBytes(downloads_ / "a.UKE", "older");
    const auto target = resultTarget(program_.path(), downloads_.path(), {u"  ", u"1"}, u"a.UKE");
    EXPECT_EQ(target, downloads_.path());
    EXPECT_TRUE(moveResultFiles(program_.path(), target, {u"a.UKE", u"b.UKE"}).empty());
    EXPECT_EQ(readBytes(downloads_ / "a.UKE"), "a");
    EXPECT_EQ(readBytes(downloads_ / "b.UKE"), "b");
    EXPECT_TRUE(listFolder(program_.path()).empty());
    // A Downloads folder that does not exist is made, as the system's file manager would.
    writeBytes(program_ / "c.UKE", "c");
    const auto missing = downloads_ / "user" / "Downloads";
    EXPECT_EQ(resultTarget(program_.path(), missing, {u"", u""}, u"c.UKE"), missing);
    EXPECT_TRUE(moveResultFiles(program_.path(), missing, {u"c.UKE"}).empty());
    EXPECT_EQ(readBytes(missing / "c.UKE"), "c");
}

TEST_F(Handoff, TheClinicRuleMakesTheSubFolderFromTheFirstFile) {
    writeBytes(program_ / "50611_1.UKE", sjis(u"IR,1,13,1,0123456,,VELTクリニック,50611,00\r\n"));
    const SaveSettings settings{saveFolder_.path().u16string(), u" 1 "};
    const auto target = resultTarget(program_.path(), downloads_.path(), settings, u"50611_1.UKE");
    EXPECT_EQ(target, saveFolder_ / "0123456_VELTクリニック");
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_TRUE(moveResultFiles(program_.path(), target, {u"50611_1.UKE", u""}).empty());
    EXPECT_TRUE(std::filesystem::exists(target / "50611_1.UKE"));
}

// The tab-separated copies (the anonymised form-1 file, the replaced data file) have no
// clinic fields: they go into the save folder itself, where they could not be saved at all
// before ("リストのインデックスが範囲を超えています (4)").
TEST_F(Handoff, AResultWithoutTheClinicFieldsGoesIntoTheSaveFolderItself) {
    const SaveSettings settings{saveFolder_.path().u16string(), u"1"};
    for (const char* firstLine : {"a,b,c,d,e,f\r\n", "h\tname\tx\r\n", ""}) {
        writeBytes(program_ / "short.csv", firstLine);
        EXPECT_EQ(resultTarget(program_.path(), downloads_.path(), settings, u"short.csv"), saveFolder_.path());
    }
    EXPECT_EQ(listFolder(saveFolder_.path()), std::vector<std::string>{});
    EXPECT_THROW(resultTarget(program_.path(), downloads_.path(), settings, u"missing.csv"), Error);
    EXPECT_EQ(resultTarget(program_.path(), downloads_.path(), {saveFolder_.path().u16string(), u"0"}, u""),
              saveFolder_.path());
}

TEST_F(Handoff, FilesThatCannotMoveStayAndAreNamed) {
    writeBytes(program_ / "a.csv", "a");
    writeBytes(program_ / "b.csv", "b");
    std::filesystem::create_directory(saveFolder_ / "b.csv");  // the target name is taken by a folder
    const auto notMoved = moveResultFiles(program_.path(), saveFolder_.path(), {u"a.csv", u"b.csv", u"gone.csv"});
    EXPECT_EQ(notMoved, std::vector<std::u16string>{u"b.csv"});
    EXPECT_EQ(listFolder(program_.path()), std::vector<std::string>{"b.csv"});
    EXPECT_EQ(notMovedWarning(notMoved),
              u"保存できなかったファイルがあります（プログラムフォルダに残っています）：\nb.csv");

    const auto missing = moveResultFiles(program_.path(), saveFolder_ / "no-such-folder", {u"b.csv"});
    EXPECT_EQ(missing, std::vector<std::u16string>{u"b.csv"});
    EXPECT_EQ(readBytes(program_ / "b.csv"), "b");
}

TEST_F(Handoff, AFileWhoseTargetIsItselfStays) {
    writeBytes(program_ / "a.csv", "a");
    EXPECT_TRUE(moveResultFiles(program_.path(), program_.path(), {u"a.csv"}).empty());
    EXPECT_EQ(readBytes(program_ / "a.csv"), "a");
}

}  // namespace
}  // namespace vask
