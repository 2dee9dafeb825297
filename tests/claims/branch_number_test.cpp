#include <gtest/gtest.h>

#include <climits>

#include "claims/branch_number.h"
#include "claims_fixture.h"
#include "platform/errors.h"

namespace vask::test {
namespace {

using claims::BranchMode;
using claims::ClaimsKind;
using claims::Conv2;
using claims::GetKnjBng;
using claims::GetKnjBng2;

TEST(GetKnjBng, CutsAtTheMarksInOrderAndDropsSpaces) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"12345-01", u"12345"},
        {u"12345*0", u"12345"},
        {u"12345*02", u"12345"},
        {u"12345/3", u"12345"},
        {u"123 45-1", u"12345"},
        {u"1-2/3", u"1"},
        {u"*0", u""},
        {u"-5", u""},
        {u"12345", u"12345"},
        {u"12345－01", u"12345－01"},  // full-width hyphen: no mark
        {u"\t 12345 *0 ", u"12345"},
        {u"12 3/4-5", u"123"},
        {u"1 2*3 4", u"12"},
        {u"12345*0*0", u"12345"},
        {u"12345 / 6", u"12345"},
        {u"　12345", u"　12345"},
        {u"", u""},
        {u"*00", u""},
        {u"12*0-1", u"12"},
    };
    for (const auto& [chart, expected] : cases) EXPECT_EQ(GetKnjBng(chart), expected);
}

TEST(GetKnjBng2, KeepsTheCharactersOfTheRange) {
    struct Case {
        std::u16string chart;
        int32_t start;
        int32_t end;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"0012345-01", 3, 7, u"12345"},
        {u"0012345-01", 1, 7, u"0012345"},
        {u"0012345-01", 8, 20, u"-01"},
        {u"0012345-01", 11, 12, u""},
        {u"0012345-01", 1, INT32_MAX, u"0012345-01"},
        {u"  0012345-01 ", 1, 3, u"001"},  // positions count in the trimmed number
        {u"12 345", 1, 3, u"12"},          // the kept part is trimmed
        {u"0012345-01", 0, 3, u"001"},     // position 0 lies before the first character
        // A range that selects nothing gives the empty number.
        {u"0012345-01", 5, 5, u""},
        {u"0012345-01", 7, 3, u""},
        {u"0012345-01", -1, 5, u""},
        {u"0012345-01", 2, -1, u""},
        {u"0012345-01", 0, 0, u""},
    };
    for (const auto& c : cases) EXPECT_EQ(GetKnjBng2(c.chart, c.start, c.end), c.expected) << c.start << ".." << c.end;
}

TEST(PositionsRefusal, BlankBoxesFirstThenNumbers) {
    const std::u16string blank = u"値が空欄です";
    const std::u16string bad = u"正しい数字を入力して下さい";
    struct Case {
        std::u16string start;
        std::u16string end;
        std::u16string expected;  // empty: accepted
    };
    const Case cases[] = {
        {u"", u"", blank},     {u"3", u"", blank},          {u"  ", u"7", blank}, {u"0", u"\t", blank},
        {u"abc", u"", blank},  {u"0", u"7", bad},           {u"abc", u"7", bad},  {u"3", u"0", bad},
        {u"3", u"1.5", bad},   {u"3", u"99999999999", bad}, {u"3", u"7x", bad},   {u" 3 ", u"\t7 ", u""},
        {u"$A", u"0x10", u""}, {u"-2", u"5", u""},          {u"+1", u"-3", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(claims::positionsRefusal(c.start, c.end).value_or(u""), c.expected);
    }
}

TEST(BranchModeOfIndex, OnlyZeroAndOneSelectAMode) {
    EXPECT_EQ(claims::branchModeOfIndex(0), BranchMode::Symbols);
    EXPECT_EQ(claims::branchModeOfIndex(1), BranchMode::Positions);
    EXPECT_EQ(claims::branchModeOfIndex(-1), BranchMode::None);
    EXPECT_EQ(claims::branchModeOfIndex(2), BranchMode::None);
}

class StripBranch : public ClaimsFiles {
protected:
    claims::ClaimsResult run(BranchMode mode, std::u16string_view from = u"", std::u16string_view to = u"") {
        return Conv2(programFolder.path(), inputText(), mode, from, to);
    }
    std::u16string errorOn(const std::vector<std::u16string>& lines, BranchMode mode) {
        write(lines);
        try {
            run(mode, u"1", u"3");
        } catch (const Error& e) {
            EXPECT_TRUE(listFolder(programFolder.path()).empty());
            return e.message();
        }
        return u"(no error)";
    }
};

// A claim record with `chart` as field 13 and a name with a space in field 4, quoted as
// in the input; the output has the same record with no double quote in it.
std::u16string claim(std::u16string_view chart, std::u16string_view tail = u"") {
    return u"RE,1,1112,50611,\"山田 太郎\",1,3500101,,,,,,," + std::u16string(chart) + std::u16string(tail);
}
std::u16string written(std::u16string_view chart, std::u16string_view tail = u"") {
    return u"RE,1,1112,50611,山田 太郎,1,3500101,,,,,,," + std::u16string(chart) + std::u16string(tail);
}

TEST_F(StripBranch, OnlyClaimRecordsAreRebuiltAndFreeTextStays) {
    const std::u16string ir = u"IR,\" 2\",13,1,1234567,,山田 医院,50611,00,03";
    write({ir, claim(u" 00123-01 ", u",a b,\"x\""), u"HO,\"06139999\",記 号", u"SJ,01,\"text\"", u"CO,,,x", u"",
           u"KO,1,2"});
    const auto result = run(BranchMode::Symbols);
    ASSERT_FALSE(result.outcome.isRefusal());
    EXPECT_EQ(result.kind, ClaimsKind::National);
    EXPECT_EQ(result.fileName, u"(50611提出_国保)RECEIPTC.uke");
    EXPECT_EQ(result.outcome.message(), u"社保と国保の枝番除去ファイルが作成されました");
    EXPECT_EQ(output("(50611提出_国保)RECEIPTC.uke"),
              sjisLines({ir, written(u"00123", u",a b,x"), u"HO,\"06139999\",記 号", u"SJ,01,\"text\"", u"CO,,,x", u"",
                         u"KO,1,2"}));
}

// In every mode a claim record comes out without double quotes: a field holding a blank
// or a control character is not enclosed in them, and quotes of the input are gone.
TEST_F(StripBranch, EachModeCutsTheChartNumberItsOwnWay) {
    struct Case {
        BranchMode mode;
        std::u16string from;
        std::u16string to;
        std::u16string chart;       // field 13 as written
        std::u16string tail = u"";  // the fields after field 13, as read
        std::u16string tailWritten = u"";
    };
    const Case cases[] = {
        {BranchMode::Symbols, u"", u"", u"0012345"},
        {BranchMode::Positions, u" 3 ", u"7", u"12345"},
        {BranchMode::Positions, u"8", u"$14", u"-01"},
        {BranchMode::Positions, u"-2", u"5", u""},
        {BranchMode::None, u"", u"", u" 0012345-01"},  // unchanged, blank and all
        {BranchMode::Symbols, u"", u"", u"0012345", u",a\tb,\"c,\x01", u",a\tb,c,\x01"},
        {BranchMode::None, u"", u"", u" 0012345-01", u",\"\"\"\", \"", u",, "},
    };
    for (const auto& c : cases) {
        write({clinicRecord(), claim(u" 0012345-01", c.tail)});
        run(c.mode, c.from, c.to);
        EXPECT_EQ(output("(50611提出_社保)RECEIPTC.uke"), sjisLines({clinicRecord(), written(c.chart, c.tailWritten)}))
            << static_cast<int>(c.mode) << " " << c.tail.size();
    }
}

TEST_F(StripBranch, AFileWithoutClinicRecordIsAnEmployeeFileWithoutMonth) {
    write({claim(u"5-1")});
    const auto result = run(BranchMode::Symbols);
    EXPECT_EQ(result.fileName, u"(提出_社保)RECEIPTC.uke");
    EXPECT_EQ(result.kind, ClaimsKind::Employee);
    EXPECT_EQ(output("(提出_社保)RECEIPTC.uke"), sjisLines({written(u"5")}));
}

TEST_F(StripBranch, TheMissingFileIsRefusedBeforeThePositions) {
    const auto missing = Conv2(programFolder.path(), (inputs / "none").u16string(), BranchMode::Positions, u"", u"");
    EXPECT_EQ(missing.outcome.message(), u"ファイルがありません。");
    write({clinicRecord()});
    EXPECT_EQ(run(BranchMode::Positions, u"", u"").outcome.message(), u"値が空欄です");
    EXPECT_EQ(run(BranchMode::Positions, u"0", u"3").outcome.message(), u"正しい数字を入力して下さい");
    EXPECT_TRUE(listFolder(programFolder.path()).empty());
    // Outside positions mode the boxes are not looked at.
    EXPECT_FALSE(run(BranchMode::Symbols, u"", u"abc").outcome.isRefusal());
    EXPECT_FALSE(run(BranchMode::None, u"0", u"").outcome.isRefusal());
}

TEST_F(StripBranch, ShortRecordsNameTheFieldTheRunNeeded) {
    EXPECT_EQ(errorOn({u"IR"}, BranchMode::Symbols), msg::listIndexOutOfBounds(7));
    EXPECT_EQ(errorOn({u"IR,2,3,4,5,6,7"}, BranchMode::None), msg::listIndexOutOfBounds(7));
    EXPECT_EQ(errorOn({clinicRecord(), u"RE,1,2,3,4,5,6,7,8,9,10,11,12"}, BranchMode::Symbols),
              msg::listIndexOutOfBounds(13));
    EXPECT_EQ(errorOn({clinicRecord(), u"RE"}, BranchMode::Positions), msg::listIndexOutOfBounds(13));
    // Without a mode the chart number is never read.
    EXPECT_EQ(errorOn({clinicRecord(), u"RE,1"}, BranchMode::None), u"(no error)");
}

}  // namespace
}  // namespace vask::test
