// The second converter against expectations built here: the layout (header and the
// position of every column) is typed again from the layout's table, and every generated
// field carries the value its rule gives (the samples of the shared table of form-one
// rules).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../support/column_rule_cases.h"
#include "../support/test_support.h"
#include "formone/form1_file.h"
#include "formone/second_converter.h"
#include "platform/errors.h"
#include "platform/paths.h"

namespace vask::formone {
namespace {

using test::readBytes;
using test::sjis;
using test::writeBytes;

const std::u16string kHeader =
    u"[0] カルテ番号,[1] 患者氏名,[2] 診療年月日,[3] 郵便番号,[4] 身長,[5] 体重,[6] 収縮期血圧,[7] 拡張期血圧,"
    u"[8] HbA1c,[9] LDLコレステロール,[10] 尿酸,[11] 高齢者情報,[12] 要介護度,[13] 血圧分類,[14] 高血圧リスク層,"
    u"[15] 脂質異常症リスク分類,[16] （空列）,[17] 喫煙歴,[18] 1日の喫煙本数,[19] 喫煙年数,[20] 終診情報,"
    u"[21] 終診年月日,[22] 終診情報の傷病名,[23] 終診情報の傷病名コード,[24] 終診情報のICD10コード,"
    u"[25] 終診情報の修飾語コード,[26] 糖尿病の有無,[27] 糖尿病の自院管理,[28] 糖尿病の診断年月,"
    u"[29] 糖尿病の慢性合併症：網膜症,[30] 糖尿病の慢性合併症：腎症,[31] 糖尿病の慢性合併症：神経障害,"
    u"[32] 高血圧症の有無,[33] 高血圧症の自院管理,[34] 高血圧症の診断年月,[35] 脂質異常症の有無,"
    u"[36] 脂質異常症の自院管理,[37] 脂質異常症の診断年月,[38] 脳卒中の有無（既往含む）,"
    u"[39] 脳卒中の初発の種類（既往含む）,[40] 脳卒中の初発の発症（診断）年月,[41] 急性冠症候群の有無（既往含む）,"
    u"[42] 急性冠症候群の初発の種類（既往含む）,[43] 急性冠症候群の初発の発症（診断）年月,[44] 心不全の有無,"
    u"[45] 心不全の診断年月,[46] 急性大動脈解離の有無（既往含む）,[47] 急性大動脈解離の初発の発症（診断）年月,"
    u"[48] 慢性腎臓病の有無,[49] 慢性腎臓病の診断年月,[50] 高尿酸血症の有無,[51] 高尿酸血症の診断年月,"
    u"[52] 在宅療養を始めた年月,[53] 療養を行っている場所,[54] 訪問診療開始前の往診または外来受診日,"
    u"[55] 訪問の主傷病の自院診断の有無,[56] 訪問の主傷病の傷病名,[57] 訪問の主傷病の傷病名コード,"
    u"[58] 訪問の主傷病のICD10コード,[59] 訪問の主傷病の修飾語コード,[60] 患者の状態,[61] バーセルインデックス,"
    u"[62] 排泄の状況,[63] ブリストルスケール,[64] 排尿の状況,[65] 褥瘡の状況,[66] 低栄養の有無,"
    u"[67] 摂食・嚥下障害の有無,[68] 経管・経静脈栄養の状況,[69] がんの自院診断の有無,[70] がんの傷病名,"
    u"[71] がんの傷病名コード,[72] がんのICD10コード,[73] がんの修飾語コード,[74] がんのStaging分類,"
    u"[75] UICC病気分類（T）,[76] UICC病気分類（N）,[77] UICC病気分類（M）,[78] UICC病気分類（版）,[79] がんのNRS,"
    u"[80] リハビリの退院年月日,[81] ADL_バーセルインデックス,[82] ADL_FIM,[83] 訓練内容,[84] 入院の有無,"
    u"[85] 入院の傷病名,[86] 入院の傷病名コード,[87] 入院のICD10コード,[88] 入院の修飾語コード";

constexpr int kEmpty = 99;
const int kPositions[89] = {0,   1,  3,  5,  6,  7,  31, 32, 22, 37, 52, 11,  12, 29, 30, 36, kEmpty, 8,
                            9,   10, 13, 14, 18, 16, 15, 17, 19, 20, 21, 23,  24, 25, 26, 27, 28,     33,
                            34,  35, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47,  48, 49, 50, 51, 53,     54,
                            138, 55, 59, 57, 56, 58, 60, 61, 62, 63, 64, 65,  66, 67, 68, 69, 73,     71,
                            70,  72, 74, 75, 76, 77, 78, 79, 80, 81, 82, 140, 83, 87, 85, 84, 86};

struct Generated {
    std::string input;     // code page 932, line ends mixed
    std::string expected;  // code page 932, CR LF
};

// Field counts around every boundary where a column is lost (0: an empty line).
constexpr int kFieldCounts[] = {141, 141, 140, 141, 139, 138, 141, 100, 99, 141, 88, 87, 1, 160, 0, 141};

Generated generateFormOne(int patients) {
    Generated g;
    g.input = sjis(u"カルテ番号\t患者氏名\t…") + "\r\n";
    g.expected = sjis(kHeader) + "\r\n";
    for (int patient = 0; patient < patients; ++patient) {
        const int count = kFieldCounts[patient % std::size(kFieldCounts)];
        std::vector<test::RuleCase> fields;
        std::u16string line;
        for (int p = 0; p < count; ++p) {
            const auto& samples = test::columnRule(p).samples;
            fields.push_back(samples[static_cast<size_t>(patient * 7 + p * 3) % samples.size()]);
            line += (p > 0 ? u"\t" : u"") + fields.back().input;
        }
        std::u16string expected;
        bool first = true;
        for (int p : kPositions) {
            if (p >= count) continue;
            expected += (first ? u"" : u",") + (p == kEmpty ? u"" : fields[static_cast<size_t>(p)].expected);
            first = false;
        }
        // A lone CR before an empty line would join with its LF: only CR LF goes there.
        const bool emptyNext = kFieldCounts[(patient + 1) % std::size(kFieldCounts)] == 0;
        g.input += sjis(line) + (emptyNext || patient % 3 == 1 ? "\r\n" : patient % 3 == 0 ? "\n" : "\r");
        g.expected += sjis(expected) + "\r\n";
    }
    return g;
}

class SecondConverter : public ::testing::Test {
protected:
    std::string convert(const std::string& bytes) {
        writeBytes(input, bytes);
        ConvertTSVtoCSV_Reorder(input, output, ColumnOrder);
        return readBytes(output);
    }
    test::TempDir dir;
    std::filesystem::path input = dir / "FF1_202404.txt";
    std::filesystem::path output = dir / "202404_carte.csv";
};

TEST_F(SecondConverter, ConvertsAGeneratedClinicFileByteForByte) {
    const Generated generated = generateFormOne(400);
    const std::string converted = convert(generated.input);
    ASSERT_EQ(converted.size(), generated.expected.size());
    EXPECT_TRUE(converted == generated.expected);
}

TEST_F(SecondConverter, LineBoundaries) {
    EXPECT_EQ(convert(""), "");  // no line: not even the header
    EXPECT_EQ(convert("only a header"), sjis(kHeader) + "\r\n");
    EXPECT_EQ(convert("h\r\n\r\n\n"), sjis(kHeader) + "\r\n\r\n\r\n");
    EXPECT_EQ(convert("h\r\nx"), sjis(kHeader) + "\r\nx\r\n");
}

TEST_F(SecondConverter, HostileInputGivesADefinedOutput) {
    const std::string bigField(1 << 20, 'A');
    std::string wide = "h\r\n1001";
    for (int i = 1; i < 5000; ++i) wide += i == 9 ? "\t" + bigField : "\t\x82\xA0";
    const std::string out = convert(wide + "\r\n");
    const std::string row = out.substr(sjis(kHeader).size() + 2);
    EXPECT_EQ(std::count(row.begin(), row.end(), ','), 88);
    EXPECT_NE(row.find("," + bigField + ","), std::string::npos);
}

// The file is read as the choosing step reads it: by its byte-order mark UTF-8 or UTF-16,
// without one Shift-JIS text or refused (read byte by byte, UTF-16 would give values cut
// short and UTF-8 mojibake), and then nothing is written.
TEST_F(SecondConverter, ReadsTheFormOneFileByItsMark) {
    const std::string shiftJis = convert(sjis(u"h\r\n1\t山\r\n"));
    EXPECT_EQ(convert(std::string("\xFF\xFEh\0\r\0\n\0"
                                  "1\0\t\0\x71\x5C",
                                  14)),
              shiftJis);
    EXPECT_EQ(convert("\xEF\xBB\xBFh\r\n1\t\xE5\xB1\xB1"), shiftJis);
    for (const std::string& bytes : {std::string("h\r\n1\t\xE5\xB1\xB1"), std::string("h\0\r\0", 4)}) {
        writeBytes(output, "older");
        EXPECT_THROW(convert(bytes), Error);
        EXPECT_EQ(readBytes(output), "older");
    }
}

TEST_F(SecondConverter, AMissingSourceStopsBeforeTheOutputIsTouched) {
    writeBytes(output, "older");
    std::filesystem::remove(input);
    EXPECT_THROW(ConvertTSVtoCSV_Reorder(input, output, ColumnOrder), Error);
    EXPECT_EQ(readBytes(output), "older");
    EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"202404_carte.csv"});
}

TEST(SecondConverterRun, TheSpecSettingSelectsTheMovacalVariantOnlyForTwo) {
    const std::filesystem::path folder = "/program";
    EXPECT_EQ(movacalMappingFor(u" 2 ", folder), folder / "movacal.csv");
    EXPECT_EQ(movacalMappingFor(u"2\t", folder), folder / "movacal.csv");
    for (const auto* other : {u"", u"1", u"02", u"２", u"2 2"}) EXPECT_FALSE(movacalMappingFor(other, folder));
}

TEST(SecondConverterRun, DeletesTheIntermediateFileAndConvertsTheMappedFile) {
    test::TempDir dir;
    writeBytes(dir / "output.tsv", "stale");
    writeBytes(dir / "ff.txt", sjis(u"h0\th1\r\n1\t山田\r\n"));
    writeBytes(dir / "map.csv", "h1,\r\n");
    const auto standard = runSecondConverter(fromPath(dir / "ff.txt"), u"202404", dir.path(), std::nullopt);
    EXPECT_EQ(standard.files(), std::vector<std::filesystem::path>{dir / "202404_carte.csv"});
    EXPECT_EQ(standard.message(), u"202404_carte.csvが作成されました");
    EXPECT_FALSE(std::filesystem::exists(dir / "output.tsv"));
    EXPECT_TRUE(readBytes(dir / "202404_carte.csv") == sjis(kHeader + u"\r\n1,山田\r\n"));

    const auto movacal = runSecondConverter(fromPath(dir / "ff.txt"), u"202404", dir.path(), dir / "map.csv");
    EXPECT_EQ(movacal.files(), (std::vector<std::filesystem::path>{dir / "output.tsv", dir / "202404_carte.csv"}));
    EXPECT_EQ(readBytes(dir / "output.tsv"), "h0\r\n1\r\n");
    EXPECT_TRUE(readBytes(dir / "202404_carte.csv") == sjis(kHeader) + "\r\n1\r\n");

    writeBytes(dir / "ff.txt", "h0\th1\th2\r\n");  // a header only: the mapped header, then the bare layout header
    runSecondConverter(fromPath(dir / "ff.txt"), u"202404", dir.path(), dir / "map.csv");
    EXPECT_EQ(readBytes(dir / "output.tsv"), "h0\th2\r\n");
    EXPECT_TRUE(readBytes(dir / "202404_carte.csv") == sjis(kHeader) + "\r\n");
}

TEST(SecondConverterRun, MovacalFailuresLeaveNoOutput) {
    test::TempDir dir;
    writeBytes(dir / "empty.txt", "");
    writeBytes(dir / "ff.txt", "h0\th1\r\n");
    writeBytes(dir / "map.csv", "");
    // No mapping file: nothing converted.
    EXPECT_THROW(runSecondConverter(fromPath(dir / "ff.txt"), u"202404", dir.path(), dir / "none.csv"), Error);
    // A form-1 file without any line writes no output.tsv, so its conversion cannot open it.
    EXPECT_THROW(runSecondConverter(fromPath(dir / "empty.txt"), u"202404", dir.path(), dir / "map.csv"), Error);
    // A year-month that is no file name changes nothing.
    writeBytes(dir / "output.tsv", "kept");
    EXPECT_THROW(runSecondConverter(fromPath(dir / "ff.txt"), u"a/b", dir.path(), std::nullopt), Error);
    EXPECT_EQ(test::listFolder(dir.path()), (std::vector<std::string>{"empty.txt", "ff.txt", "map.csv", "output.tsv"}));
}

// Choosing the file reads it whole but keeps only its line count and line 2, whose field 3
// is the year-month; the errors come only when the year-month is asked for.
TEST(ChoosingTheFormOneFile, KeepsTheLineCountAndTheYearMonthOfLine2) {
    const std::string record = "1001\tname\tx\t202404\r\n";
    const struct {
        std::string bytes;
        size_t lineCount;
        std::u16string yearMonth;  // empty: asking for it raises `error`
        std::u16string error;
    } cases[] = {
        {"", 0, u"", u"リストのインデックスが範囲を超えています (1)"},
        {"header only\r\n", 1, u"", u"リストのインデックスが範囲を超えています (1)"},
        {"header\r\na\tb\tc\r\n" + record, 3, u"", u"範囲チェックエラー"},
        {"header\r" + record + record, 3, u"202404", u""},
        {"\xFE\xFF" + std::string("\0h\0\n\0"
                                  "1\0\t\0\t\0\t\0"
                                  "2",
                                  14),
         2, u"2", u""},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        writeBytes(dir / "ff.txt", c.bytes);
        const FormOneChoice choice = chooseFormOne(dir / "ff.txt");
        EXPECT_EQ(choice.lineCount, c.lineCount) << c.bytes;
        EXPECT_EQ(choice.accepted(), c.lineCount > 0);
        if (c.error.empty()) {
            EXPECT_EQ(choice.yearMonth(), c.yearMonth);
            continue;
        }
        try {
            choice.yearMonth();
            ADD_FAILURE() << "no error: " << c.bytes;
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), c.error);
        }
    }
    // A NUL byte far after line 2 still refuses a file without byte-order mark.
    writeBytes(dir / "ff.txt", "header\r\n" + record + std::string(1 << 20, 'x') + std::string(1, '\0'));
    EXPECT_THROW(chooseFormOne(dir / "ff.txt"), Error);
}

}  // namespace
}  // namespace vask::formone
