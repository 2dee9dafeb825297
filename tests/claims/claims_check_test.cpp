// The check of a claims file against the record layout: a good file written by hand from
// the published layout, the same file with one fault per rule, both calendars, the GO
// totals of multi-volume files, and the public sample file.
#include "claims/claims_check.h"
#include "claims/branch_number.h"
#include "claims/submission_check.h"
#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "claims_fixture.h"
#include "core/messages.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "platform/errors.h"

namespace vask::test {
namespace {

using claims::checkClaimsFile;
using claims::ClaimsCheckReport;
using claims::TotalsCheck;
using What = claims::ClaimsFinding::What;

// The good file's lines (LAYOUT_GOOD.UKE): 0 IR; claim 1: 1 RE, 2 HO, 3 KH, 4 SY, 5 SY
// (uncoded), 6 SI, 7 IY, 8 TO, 9 CO, 10 SJ; claim 2: 11 RE, 12 HO, 13 KO, 14 SN, 15 SY,
// 16 SI; claim 3: 17 RE, 18 KO, 19 SY, 20 SI; 21 GO.
std::vector<std::u16string> goodLines() {
    const std::string bytes = readBytes(std::filesystem::path(VASK_CLAIMS_FIXTURES) / "LAYOUT_GOOD.UKE");
    return splitLines(fromSjis(bytes.substr(0, bytes.find('\x1A'))));
}

std::u16string withField(std::u16string_view line, size_t position, std::u16string_view value) {
    std::vector<std::u16string_view> fields;
    splitOn(line, u',', fields);
    std::u16string out;
    for (size_t i = 0; i < fields.size(); ++i)
        out += (i ? u"," : u"") + std::u16string(i == position ? value : fields[i]);
    return out;
}

class ClaimsCheck : public ClaimsFiles {
protected:
    ClaimsCheckReport check(const std::vector<std::u16string>& lines) {
        write(lines);
        return checkClaimsFile(input());
    }
};

TEST_F(ClaimsCheck, TheGoodFileHasNoFinding) {
    const ClaimsCheckReport report = check(goodLines());
    EXPECT_TRUE(report.clean());
    EXPECT_EQ(report.revision, claims::LayoutRevision::Western);
    EXPECT_EQ(report.totals, TotalsCheck::Matched);
    EXPECT_EQ(report.counts.size(), 13u);  // every described record kind
}

// One fault per rule in the good file, each found once, where it is.
TEST_F(ClaimsCheck, EachFaultIsFoundOnceWhereItIs) {
    constexpr size_t kLine = 100;    // `value` is the whole line
    constexpr size_t kRemove = 101;  // the line is removed
    const struct Case {
        size_t index;     // the line changed (from 0)
        size_t position;  // the field changed, or kLine, kRemove
        std::u16string value;
        What what;
        std::u16string_view record;
        std::u16string_view field;
        size_t line;  // the finding's line; 0 for the file as a whole
    } cases[] = {
        {3, kLine, u"ZZ,1", What::UnknownRecord, u"ZZ", u"", 4},
        {3, kLine, u"山田様へ", What::UnknownRecord, u"その他", u"", 4},
        {4, kLine, u"SY,8833421,20240501,1,2057,,01", What::FieldCount, u"SY", u"", 5},
        {1, 4, u"", What::Empty, u"RE", u"氏名", 2},
        {1, 12, u"1O", What::NotDigits, u"RE", u"病床数", 2},
        {1, 13, u"００１２３", What::NotOneByte, u"RE", u"カルテ番号等", 2},
        {5, 5, u"右手のpain", What::NotTwoByte, u"SY", u"傷病名称", 6},
        {1, 4, u"山田 ﾊﾅｺ", What::MixedModes, u"RE", u"氏名", 2},
        {9, 4, std::u16string(39, u'あ'), What::TooLong, u"CO", u"文字データ", 10},
        {6, 3, u"11100011", What::WrongLength, u"SI", u"診療行為コード", 7},
        {11, 3, u"202407", What::MonthAfterBilling, u"RE", u"診療年月", 12},
        {21, 1, u"3", What::TotalClaims, u"GO", u"総件数", 22},
        {21, 2, u"2035", What::TotalPoints, u"GO", u"総合計点数", 22},
        {21, kRemove, u"", What::NoTotalsRecord, u"GO", u"", 0},
        {1, 36, u"\"ﾔﾏﾀﾞ ﾊﾅｺ\"", What::DoubleQuote, u"RE", u"カタカナ（氏名）", 2},  // a field not checked otherwise
        {1, 4, u"\"山田 花子\"", What::DoubleQuote, u"RE", u"氏名", 2},              // the quote, not the mixed modes
    };
    for (const Case& c : cases) {
        std::vector<std::u16string> lines = goodLines();
        if (c.position == kRemove) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(c.index));
        } else {
            lines[c.index] = c.position == kLine ? c.value : withField(lines[c.index], c.position, c.value);
        }
        const ClaimsCheckReport report = check(lines);
        const std::string row = "line " + std::to_string(c.index) + " field " + std::to_string(c.position);
        ASSERT_EQ(report.findingCount, 1u) << row;
        const auto& found = report.findings.front();
        EXPECT_EQ(found.what, c.what) << row;
        EXPECT_EQ(found.record, c.record) << row;
        EXPECT_EQ(found.field, c.field) << row;
        EXPECT_EQ(found.line, c.line) << row;
    }
}

TEST_F(ClaimsCheck, TheGoTotalsOfAVolumeOfSeveralAreNotChecked) {
    auto lines = goodLines();
    lines[21] = u"GO,,,01";  // not the last volume: the totals are left out
    ClaimsCheckReport report = check(lines);
    EXPECT_TRUE(report.clean());
    EXPECT_EQ(report.totals, TotalsCheck::NotLastVolume);

    lines[0] = withField(lines[0], 8, u"01");  // the second volume, and the last
    lines[21] = u"GO,9,99999,99";              // totals of every volume
    report = check(lines);
    EXPECT_TRUE(report.clean());
    EXPECT_EQ(report.totals, TotalsCheck::LaterVolume);
}

TEST_F(ClaimsCheck, AClaimWithoutReadableTotalLeavesThePointsUncompared) {
    auto lines = goodLines();
    lines[2] = withField(lines[2], 5, u"");
    const ClaimsCheckReport report = check(lines);
    ASSERT_EQ(report.findingCount, 1u);
    EXPECT_EQ(report.findings.front().what, What::Empty);
    EXPECT_TRUE(report.pointsUnread);
    EXPECT_EQ(report.totals, TotalsCheck::Matched);  // the count is still compared
}

// An era-calendar file from before カタカナ（氏名）: RE ends at field 35, and months
// compare across eras (平成31年4月 is after 令和元年1月 though 43104 < 50101).
TEST_F(ClaimsCheck, EraCalendarFilesUseTheEraLayout) {
    const std::u16string re = u"RE,1,1112,43012,山田　花子,2,3550101" + std::u16string(29, u',');
    std::vector<std::u16string> lines = {u"IR,1,13,1,1234567,,ヴァスク医院,50101,00,", re,
                                         u"HO,06131234,,,1,100,,,,,,,,,", u"GO,1,100,99"};
    ClaimsCheckReport report = check(lines);
    EXPECT_EQ(report.revision, claims::LayoutRevision::Era);
    EXPECT_TRUE(report.clean()) << (report.findings.empty() ? 0 : static_cast<int>(report.findings[0].what));

    lines[1] = withField(re, 3, u"43104");
    report = check(lines);
    ASSERT_EQ(report.findingCount, 1u);
    EXPECT_EQ(report.findings.front().what, What::MonthAfterBilling);

    lines[1] = withField(re, 6, u"19550101");  // a Western birth date in an era file
    report = check(lines);
    ASSERT_EQ(report.findingCount, 1u);
    EXPECT_EQ(report.findings.front().what, What::WrongLength);
    EXPECT_EQ(report.findings.front().field, u"生年月日");
}

TEST_F(ClaimsCheck, FindingsAreListedUpToTheCapAndCounted) {
    auto lines = goodLines();
    const std::u16string bad = withField(lines[6], 3, u"1");
    lines.insert(lines.begin() + 7, 150, bad);
    const ClaimsCheckReport report = check(lines);
    EXPECT_EQ(report.findingCount, 150u);
    EXPECT_EQ(report.findings.size(), ClaimsCheckReport::kListedFindings);
    const auto text = claims::claimsCheckLines(report);
    EXPECT_NE(std::find(text.begin(), text.end(), u"  ほか 50件"), text.end());
    EXPECT_EQ(text.back(), u"結果: 問題があります（150件）");
}

TEST_F(ClaimsCheck, AFileThatDoesNotBeginWithAnIrRecordCannotBeChecked) {
    for (const auto& lines : {std::vector<std::u16string>{}, {u"RE,1"}, {u"", u"IR,1,13,1,1234567,,名,202406,00,"}}) {
        write(lines);
        try {
            checkClaimsFile(input());
            ADD_FAILURE() << lines.size();
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), msg::kNoClinicRecordFirst);
        }
    }
}

// A file for submission is told against its input from what the removal read and wrote:
// only a finding a changed line gained was made by the removal.
TEST_F(ClaimsCheck, RemovalFindingsCountWhatAChangedLineGained) {
    const std::u16string claim = goodLines()[1];
    const std::u16string quoted = withField(claim, 36, u"\"ﾔﾏﾀﾞ ﾊﾅｺ\"");
    const std::u16string cut = withField(claim, 13, u"00123");
    const std::u16string tooLong = withField(claim, 13, std::u16string(21, u'9'));
    const struct {
        const char* what;
        std::u16string read;
        std::optional<std::u16string> written;
        size_t made;
    } cases[] = {
        {"unchanged", claim, claim, 0},
        {"unchanged, with its own finding", quoted, quoted, 0},
        {"changed without a finding", claim, cut, 0},
        {"changed, gaining a finding", claim, tooLong, 1},
        {"changed, keeping its finding", withField(quoted, 13, u"1-1"), quoted, 0},
        {"changed, losing its finding", quoted, claim, 0},
        {"changed, gaining a second finding of a kind it had", withField(tooLong, 36, u"\"ｱ\""),
         withField(withField(tooLong, 36, u"\"ｱ\""), 12, u"\"1\""), 1},
        {"dropped", quoted, std::nullopt, 0},
    };
    for (const auto& c : cases) {
        claims::RemovalFindings removal;
        const std::string ir = cp932::encode(goodLines()[0]);
        removal.rewrote(ir, ir);
        const std::string read = cp932::encode(c.read);
        const std::string written = c.written ? cp932::encode(*c.written) : std::string();
        removal.rewrote(read, c.written ? std::optional<std::string_view>(written) : std::nullopt);
        EXPECT_EQ(removal.made(), c.made) << c.what;
    }
}

// Through the removal itself: the written file is checked as committed, its findings told
// as the input's.
TEST_F(ClaimsCheck, ASubmittedFileIsCheckedAsWritten) {
    std::vector<std::u16string> lines = goodLines();
    lines[1] = withField(lines[1], 36, u"\"ﾔﾏﾀﾞ ﾊﾅｺ\"");  // quotes the removal drops from RE
    lines[4] = withField(lines[4], 4, u"\"2057\"");       // a quote in another record, kept
    write(lines);
    claims::RemovalFindings removal;
    const auto result =
        claims::Conv2(programFolder.path(), inputText(), claims::BranchMode::Symbols, u"", u"", &removal);
    const auto check = claims::checkSubmission(result.outcome.files().at(0), removal);
    EXPECT_FALSE(check.clean());
    EXPECT_EQ(check.written.findingCount, 1u);
    EXPECT_TRUE(check.findingsWereInInput());
    write(goodLines());
    claims::RemovalFindings good;
    const auto clean = claims::Conv2(programFolder.path(), inputText(), claims::BranchMode::Symbols, u"", u"", &good);
    EXPECT_TRUE(claims::checkSubmission(clean.outcome.files().at(0), good).clean());
}

// The public sample: its GO totals are right (140 = 69 HO + 71 KO of 75 claims; 86,392
// the main totals); its clinic name is empty, one uncoded disease name and 28 patient
// names (test descriptions in the name field) are longer than the layout allows.
TEST_F(ClaimsCheck, ThePublicSampleHasItsKnownDefectsOnly) {
    const ClaimsCheckReport report =
        checkClaimsFile(std::filesystem::path(VASK_CLAIMS_FIXTURES) / "RECEIPTC_GAIRAI_SAMPLE.UKE");
    EXPECT_EQ(report.totals, TotalsCheck::Matched);
    std::map<std::tuple<What, std::u16string, std::u16string>, size_t> found;
    for (const auto& f : report.findings) ++found[{f.what, f.record, f.field}];
    const std::map<std::tuple<What, std::u16string, std::u16string>, size_t> expected = {
        {{What::Empty, u"IR", u"医療機関名称"}, 1},
        {{What::TooLong, u"SY", u"傷病名称"}, 1},
        {{What::TooLong, u"RE", u"氏名"}, 28},
    };
    EXPECT_EQ(report.findingCount, 30u);
    EXPECT_EQ(found, expected);
}

}  // namespace
}  // namespace vask::test
