// The check of an anonymised form-1 file against its original.
#include <gtest/gtest.h>

#include <map>

#include "../support/test_support.h"
#include "core/pseudonym.h"
#include "core/text_formats.h"
#include "formone/anonymiser.h"
#include "formone/anonymiser_check.h"
#include "platform/errors.h"
#include "platform/paths.h"

namespace vask::formone {
namespace {

using test::sjis;
using test::writeBytes;

class FormOneCheck : public ::testing::Test {
protected:
    AnonymisationReport check(const std::u16string& original, const std::u16string& anonymised) {
        writeBytes(dir / "ff.txt", sjis(original));
        writeBytes(dir / "ffano.txt", sjis(anonymised));
        return checkAnonymisedFormOne(dir / "ff.txt", dir / "ffano.txt");
    }
    test::TempDir dir;
};

// A record whose name reappears in a comment field of another record, and a patient
// whose name is one character long.
constexpr std::u16string_view kLeakyFormOne =
    u"番号\t氏名\t備考\r\n1\t山田　太郎\t\r\n2\t李\t李さん\r\n3\tﾀﾅｶ ﾊﾅｺ\t山田様の紹介\r\n";

TEST_F(FormOneCheck, TheAnonymisersOwnOutputLeavesOnlyWhatItCannotKnow) {
    writeBytes(dir / "ff.txt", sjis(kLeakyFormOne));
    const auto written = runAnonymiser(fromPath(dir / "ff.txt"), dir.path()).files().at(0);
    const auto report = checkAnonymisedFormOne(dir / "ff.txt", written);
    ASSERT_EQ(report.findingCount, 1u);
    EXPECT_EQ(report.findings[0].what, Finding::What::Survives);
    EXPECT_EQ(report.findings[0].line, 4u);
    EXPECT_EQ(report.findings[0].record, u"");
    ASSERT_EQ(report.counts.size(), 1u);
    EXPECT_EQ(report.counts[0].original, 4u);
    EXPECT_TRUE(report.countsMatch());
    ASSERT_EQ(report.kinds.size(), 1u);
    EXPECT_EQ(report.kinds[0].checked, 2u);
    EXPECT_EQ(report.kinds[0].tooShort, 1u);
}

TEST_F(FormOneCheck, FindsFilledNameFieldsNamesAndMissingLines) {
    const struct {
        std::u16string anonymised;
        std::vector<std::pair<Finding::What, size_t>> findings;
        bool countsMatch;
    } cases[] = {
        {u"山田\t太郎\r\n1\t\r\n2\t\r\n", {}, true},  // the header is not searched
        {u"h\r\n1\t\r\n2\tｶﾅ\r\n", {{Finding::What::FieldFilled, 3}}, true},
        {u"h\r\n1\t\tﾀﾛｳ\r\n2\t山田\r\n",
         {{Finding::What::Survives, 2}, {Finding::What::FieldFilled, 3}, {Finding::What::Survives, 3}},
         true},
        {u"h\r\n1\t\r\n", {}, false},
        {u"h\r\n1\t\r\n2\r\n\r\n", {}, false},
    };
    for (const auto& c : cases) {
        const auto report = check(u"h\r\n1\t山田　ﾀﾛｳ\r\n2\t鈴木\r\n", c.anonymised);
        ASSERT_EQ(report.findings.size(), c.findings.size());
        for (size_t i = 0; i < c.findings.size(); ++i) {
            EXPECT_EQ(report.findings[i].what, c.findings[i].first) << i;
            EXPECT_EQ(report.findings[i].line, c.findings[i].second) << i;
            EXPECT_EQ(report.findings[i].kind, IdentifierKind::PatientName);
        }
        EXPECT_EQ(report.countsMatch(), c.countsMatch);
        EXPECT_EQ(report.clean(), c.findings.empty() && c.countsMatch);
    }
}

TEST_F(FormOneCheck, AFileThatCannotBeCheckedIsAnError) {
    writeBytes(dir / "ff.txt", "h\r\n");
    writeBytes(dir / "utf16.txt", std::string("\xFF\xFEh\0", 4));
    EXPECT_THROW(checkAnonymisedFormOne(dir / "ff.txt", dir / "none.txt"), Error);
    EXPECT_THROW(checkAnonymisedFormOne(dir / "utf16.txt", dir / "ff.txt"), Error);
    // A header without any record line holds nothing to check.
    EXPECT_THROW(checkAnonymisedFormOne(dir / "ff.txt", dir / "ff.txt"), Error);
    writeBytes(dir / "ff.txt", "h\r\n\r\n");
    EXPECT_TRUE(checkAnonymisedFormOne(dir / "ff.txt", dir / "ff.txt").clean());
}

// The pseudonymisation profile's check, on a file the anonymiser made and on copies of it
// with one fault each. The original's record lines have 101 fields: chart numbers with a
// leading zero and a branch number (two lines of one patient), one equal to the year-month
// beside it, one that normalises to nothing, one that has the pseudonym's form; the numbers 1234 and 202404 also stand
// in a numeric column and in a column the layout does not name, as they do in good files.
class FormOnePseudonymCheck : public FormOneCheck {
protected:
    static std::u16string record(const std::map<size_t, std::u16string>& fields) {
        std::vector<std::u16string> line(101);
        for (const auto& [position, value] : fields) line.at(position) = value;
        return joinFields(line, u'\t');
    }
    void SetUp() override {
        original = {
            u"番号\t氏名",
            record({{0, u"01234"},
                    {1, u"山田　太郎"},
                    {3, u"202404"},
                    {5, u"123-4567"},
                    {18, u"高血圧症"},
                    {37, u"1234"},
                    {100, u"1234"}}),
            record({{0, u"202404"}, {1, u"鈴木　花子"}, {3, u"202404"}, {5, u"１２３４５６７"}, {100, u"202404"}}),
            record({{0, u"1234-1"}, {1, u"山田　太郎"}, {5, u"9876543"}}),
            record({{0, u"-"}, {1, u"田中　一郎"}}),
            record({{0, u"k123456789"}})};
        writeBytes(dir / "ff.txt", test::sjisLines(original));
        ChartPseudonyms pseudonyms(std::string(32, '\x07'));
        runAnonymiser(fromPath(dir / "ff.txt"), dir.path(), &pseudonyms);
        good = test::linesOf(test::readBytes(dir / "ffano.txt"));
        ASSERT_EQ(good.size(), original.size());
    }
    AnonymisationReport checkWith(size_t line, size_t field, const std::u16string& value) {
        std::vector<std::u16string> lines = good;
        std::vector<std::u16string_view> views;
        splitTabs(lines.at(line - 1), views);
        std::vector<std::u16string> fields(views.begin(), views.end());
        fields.at(field) = value;
        lines.at(line - 1) = joinFields(fields, u'\t');
        writeBytes(dir / "faulty.txt", test::sjisLines(lines));
        return checkAnonymisedFormOne(dir / "ff.txt", dir / "faulty.txt", AnonymisationProfile::Pseudonym);
    }
    std::u16string field(size_t line, size_t position) const {
        std::vector<std::u16string_view> views;
        splitTabs(good.at(line - 1), views);
        return std::u16string(views.at(position));
    }
    std::vector<std::u16string> original;
    std::vector<std::u16string> good;
};

TEST_F(FormOnePseudonymCheck, TheAnonymisersOwnOutputPasses) {
    const auto report = checkAnonymisedFormOne(dir / "ff.txt", dir / "ffano.txt", AnonymisationProfile::Pseudonym);
    EXPECT_TRUE(report.clean()) << report.findingCount;
    EXPECT_EQ(report.profile, AnonymisationProfile::Pseudonym);
    EXPECT_EQ(report.kept, keptByPseudonymProfile(AnonymisationReport::FileKind::FormOne));
    const std::vector<std::pair<IdentifierKind, size_t>> positions = {
        {IdentifierKind::PatientName, 5}, {IdentifierKind::ChartNumber, 5}, {IdentifierKind::PostalCode, 5}};
    ASSERT_EQ(report.positions.size(), positions.size());
    for (size_t i = 0; i < positions.size(); ++i) {
        EXPECT_EQ(report.positions[i].kind, positions[i].first);
        EXPECT_EQ(report.positions[i].checked, positions[i].second);
    }
    ASSERT_EQ(report.kinds.size(), 2u);
    EXPECT_EQ(report.kinds[1].kind, IdentifierKind::ChartNumber);
    EXPECT_EQ(report.kinds[1].checked, 4u);
    EXPECT_EQ(report.kinds[1].tooShort, 1u);  // "-"
    // The written profile's check of the same files looks at nothing by position.
    const auto written = checkAnonymisedFormOne(dir / "ff.txt", dir / "ffano.txt");
    EXPECT_TRUE(written.positions.empty());
    EXPECT_EQ(written.kinds.size(), 1u);
}

TEST_F(FormOnePseudonymCheck, FindsEachFaultOnItsLine) {
    const struct {
        const char* fault;
        size_t line;
        size_t field;
        std::u16string value;
        std::optional<Finding::What> what;  // none: not looked for there
        IdentifierKind kind;
    } cases[] = {
        {"the chart number kept", 2, 0, u"01234", Finding::What::NotPseudonym, IdentifierKind::ChartNumber},
        {"kept in its normal form", 6, 0, u"K123456789", Finding::What::NotPseudonym, IdentifierKind::ChartNumber},
        {"not the pseudonym's form", 2, 0, u"a23456789B", Finding::What::NotPseudonym, IdentifierKind::ChartNumber},
        {"a pseudonym for no number", 5, 0, u"B000000000", Finding::What::NotPseudonym, IdentifierKind::ChartNumber},
        {"one patient, two pseudonyms", 4, 0, u"B000000000", Finding::What::PseudonymsDisagree,
         IdentifierKind::ChartNumber},
        {"two patients, one pseudonym", 3, 0, field(2, 0), Finding::What::PseudonymsDisagree,
         IdentifierKind::ChartNumber},
        {"a postal code's fourth digit", 2, 5, u"123-4000", Finding::What::PostalCodeKept, IdentifierKind::PostalCode},
        {"a full-width last digit", 3, 5, u"１２３０００１", Finding::What::PostalCodeKept, IdentifierKind::PostalCode},
        {"the name field", 5, 1, u"○", Finding::What::FieldFilled, IdentifierKind::PatientName},
        {"a chart number in a disease name", 3, 18, u"1234-1", Finding::What::Survives, IdentifierKind::ChartNumber},
        {"a plain one there too", 5, 73, u"202404", Finding::What::Survives, IdentifierKind::ChartNumber},
        {"one with its zero in an unnamed column", 5, 99, u"01234", Finding::What::Survives,
         IdentifierKind::ChartNumber},
        {"a header's column", 5, 2, u"1234-1", Finding::What::Survives, IdentifierKind::ChartNumber},
        // Where a chart number equals a good file's values, it is not looked for.
        {"a plain one in an unnamed column", 5, 99, u"202404", std::nullopt, IdentifierKind::ChartNumber},
        {"one in a numeric column", 5, 37, u"01234", std::nullopt, IdentifierKind::ChartNumber},
    };
    for (const auto& c : cases) {
        const auto report = checkWith(c.line, c.field, c.value);
        if (!c.what) {
            EXPECT_EQ(report.findingCount, 0u) << c.fault;
            continue;
        }
        ASSERT_EQ(report.findingCount, 1u) << c.fault;
        EXPECT_EQ(report.findings[0].what, *c.what) << c.fault;
        EXPECT_EQ(report.findings[0].kind, c.kind) << c.fault;
        EXPECT_EQ(report.findings[0].line, c.line) << c.fault;
    }
}

}  // namespace
}  // namespace vask::formone
