#include <gtest/gtest.h>

#include "core/text.h"
#include "core/text_formats.h"
#include "ff1/spec_csv.h"
#include "ff1_test_support.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::test {
namespace {

using ff1::LoadSpecCSV;
using ff1::SpecCsv;

const std::u16string kTitles = u"ヘッダー名称,コード,ペイロード番号";

class SpecFile : public ::testing::Test {
protected:
    SpecCsv load(const std::vector<std::u16string>& lines) {
        writeBytes(dir / "siyo4.csv", sjisLines(lines));
        return LoadSpecCSV(dir / "siyo4.csv");
    }
    std::u16string errorOf(const std::string& bytes) {
        writeBytes(dir / "siyo4.csv", bytes);
        try {
            LoadSpecCSV(dir / "siyo4.csv");
        } catch (const Error& e) {
            return e.message();
        }
        return u"(no error)";
    }
    TempDir dir;
};

const std::u16string kTitleError = u"仕様CSVの1行目に「ヘッダー名/コード/ペイロード番号」が見つかりません。";

TEST_F(SpecFile, AnEmptyFileOrATitleLineWithoutAllThreeTitlesFails) {
    EXPECT_EQ(errorOf(""), u"仕様CSVが空です。");
    for (const std::u16string titles : {u"ヘッダー名,コード,ペイロード番号", u"", u"ヘッダー名称,コード",
                                        u"コード,ペイロード番号", u"\"ヘッダー名称,コード,ペイロード番号"}) {
        EXPECT_EQ(errorOf(sjisLines({titles, u"[3] 郵便番号,C,3"})), kTitleError) << utf16ToUtf8(titles);
    }
    // Line 1 is always the title line, and the file is Shift-JIS: one with a UTF-8 mark is
    // reported as no Shift-JIS text, rather than as lacking the titles it holds.
    EXPECT_EQ(errorOf(sjisLines({u"", kTitles})), kTitleError);
    EXPECT_EQ(errorOf("\xEF\xBB\xBF" + sjisLines({kTitles})),
              u"ファイル \"" + fromPath(dir / "siyo4.csv") + u"\" はShift-JISのテキストではありません（1行目）");
}

TEST_F(SpecFile, TitlesInAnyOrderWithBlanksAndExtraCellsTheRightmostRepeatCounting) {
    // The first cell names the column; the cells under ヘッダー名称 are not read.
    const SpecCsv spec =
        load({u"メモ, ペイロード番号 ,x,コード,ヘッダー名称,コード", u"[4] 身長,7,,WRONG,[9] not read,CPF0001"});
    EXPECT_EQ(spec.Headers[4], u"[4] 身長");
    EXPECT_EQ(spec.Headers[9], u"[9]");
    EXPECT_EQ(spec.MapCodePayloadToIndex, (std::unordered_map<std::u16string, int>{{u"CPF0001|7", 4}}));
    EXPECT_EQ(spec.MapCodePayloadToIndex.count(u"WRONG|7"), 0u);
}

TEST_F(SpecFile, RowsGiveHeaderTextsAndMapEntriesOnlyWhereUsable) {
    const SpecCsv spec = load({
        kTitles,
        u"[2] 診療年月日,,",
        u" [ 05 ] 郵便番号 , CPP0001 , 3 ",
        u"[89] x,C89,1",
        u"[-1] x,CM,1",
        u"x,CX,1",
        u"a]b[3],CA,1",
        u"[6] 収縮期,C6,0",
        u"[7] 拡張期,C7,10",
        u"[8] HbA1c,C8,3.0",
        u"[9] LDL,C9,$2",
        u"[10] 尿酸",
        u"   ",
        u"[11] 旧,C11,1",
        u"[11] 高齢者情報,C11,1",
        u"[12] 要介護度,C11,1",
        u"\"[13] 血圧,分類\",\"C,13\",4",
    });
    EXPECT_EQ(spec.Headers.size(), 89u);
    EXPECT_EQ(spec.Headers[0], u"[0]");
    EXPECT_EQ(spec.Headers[2], u"[2] 診療年月日");
    EXPECT_EQ(spec.Headers[5], u"[ 05 ] 郵便番号");
    EXPECT_EQ(spec.Headers[3], u"[3]");
    EXPECT_EQ(spec.Headers[10], u"[10] 尿酸");
    EXPECT_EQ(spec.Headers[11], u"[11] 高齢者情報");
    EXPECT_EQ(spec.Headers[13], u"[13] 血圧,分類");
    EXPECT_EQ(spec.Headers[88], u"[88]");
    const std::unordered_map<std::u16string, int> expected = {
        {u"CPP0001|3", 5}, {u"C9|2", 9}, {u"C11|1", 12}, {u"C,13|4", 13}};
    EXPECT_EQ(spec.MapCodePayloadToIndex, expected);
}

TEST_F(SpecFile, WithoutRowsEveryHeaderIsItsBracketedNumberAndTheMapIsEmpty) {
    const SpecCsv spec = load({kTitles});
    for (int n = 0; n < 89; ++n)
        EXPECT_EQ(spec.Headers[static_cast<size_t>(n)], u"[" + fromAscii(std::to_string(n)) + u"]");
    EXPECT_TRUE(spec.MapCodePayloadToIndex.empty());
}

TEST(ExtractIndexFromBracket, TheTrimmedIntegerBetweenTheFirstBrackets) {
    const struct {
        std::u16string text;
        int index;
    } cases[] = {
        {u"[0] カルテ番号", 0},
        {u"[ 05 ] 郵便番号", 5},
        {u"x[12]y[3]", 12},
        {u"[88]", 88},
        {u"[89]", 89},
        {u"[-1] x", -1},
        {u"[]", -1},
        {u"[a]", -1},
        {u"a]b[3]", -1},
        {u"[3", -1},
        {u"3]", -1},
        {u"[2147483648]", -1},
        {u"[$A]", 10},
    };
    for (const auto& c : cases) EXPECT_EQ(ff1::ExtractIndexFromBracket(c.text), c.index) << utf16ToUtf8(c.text);
}

TEST(ShippedSpecificationCsv, HasTheTitlesAndTheHeaderOfEveryColumn) {
    const SpecCsv spec = LoadSpecCSV(std::filesystem::path(VASK_DATA_FOLDER) / "siyo4.csv");
    EXPECT_EQ(spec.Headers[0], u"[0] カルテ番号");
    EXPECT_EQ(spec.Headers[16], u"[16] （空列）");
    EXPECT_EQ(spec.Headers[88], u"[88] 入院の修飾語コード");
    for (const auto& header : spec.Headers) EXPECT_NE(header.find(u"] "), std::u16string::npos) << utf16ToUtf8(header);
    EXPECT_EQ(spec.MapCodePayloadToIndex.at(u"CPP0001|3"), 3);
    EXPECT_EQ(spec.MapCodePayloadToIndex.at(u"CPF0001|1"), 4);
    EXPECT_EQ(spec.MapCodePayloadToIndex.at(u"CPF0001|2"), 5);
}

}  // namespace
}  // namespace vask::test
