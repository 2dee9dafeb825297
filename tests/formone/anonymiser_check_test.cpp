// The check of an anonymised form-1 file against its original.
#include <gtest/gtest.h>

#include "../support/test_support.h"
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

}  // namespace
}  // namespace vask::formone
