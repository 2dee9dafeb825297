// The check of an anonymised claims file against its original.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "claims/anonymisation_check.h"
#include "claims/anonymise.h"
#include "claims_fixture.h"
#include "core/pseudonym.h"
#include "core/text_formats.h"
#include "platform/errors.h"
#include "platform/utf.h"

namespace vask::test {
namespace {

using K = IdentifierKind;

class ClaimsCheck : public ClaimsFiles {
protected:
    // Checks `anonymised` (written as an anonymiser output) against `original`.
    AnonymisationReport check(const std::vector<std::u16string>& original,
                              const std::vector<std::u16string>& anonymised) {
        write(original);
        writeBytes(programFolder / "out.UKE", sjisLines(anonymised));
        return claims::checkAnonymisedClaims(input(), programFolder / "out.UKE");
    }
    // The anonymiser's own output of `original`, checked.
    AnonymisationReport anonymiseAndCheck(const std::vector<std::u16string>& original) {
        write(original);
        const auto result = claims::Conv(programFolder.path(), inputText());
        return claims::checkAnonymisedClaims(input(), result.outcome.files().at(0));
    }
};

const KindTally* tallyOf(const AnonymisationReport& report, K kind) {
    for (const auto& t : report.kinds) {
        if (t.kind == kind) return &t;
    }
    return nullptr;
}

// A claim whose patient name stands in a comment of an SI record, whose insurer number
// reappears in a TO record, and a claim of a patient with a one-character name.
const std::vector<std::u16string> kLeakyClaims = {
    clinicRecord(),
    u"RE,1,1112,50611,山田　太郎,1,3,,,,,,,001",
    u"HO,06131234,記号,98765,1",
    u"SI,11,1,112007410,,,1,,,前回　山田様の検査",
    u"TO,1,06131234",
    u"RE,2,1112,50611,李,1,3",
    u"SI,11,1,112007410,,,1,,,李さん来院",
    u"SJ,01,経過",
};

TEST_F(ClaimsCheck, TheAnonymisersOwnOutputPassesButForWhatItCannotKnow) {
    const auto report = anonymiseAndCheck(kLeakyClaims);
    // The name in the comment and the insurer number in TO survive the anonymiser.
    ASSERT_EQ(report.findingCount, 2u);
    EXPECT_EQ(report.findings[0].kind, K::PatientName);
    EXPECT_EQ(report.findings[0].record, u"SI");
    EXPECT_EQ(report.findings[0].line, 4u);
    EXPECT_EQ(report.findings[1].kind, K::InsurerNumber);
    EXPECT_EQ(report.findings[1].record, u"TO");
    EXPECT_EQ(report.findings[1].line, 5u);
    EXPECT_TRUE(report.countsMatch());
    EXPECT_FALSE(report.clean());
    // The one-character name is left out as too short, and said so.
    const KindTally* names = tallyOf(report, K::PatientName);
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(names->checked, 1u);
    EXPECT_EQ(names->tooShort, 1u);
    // Nothing in the report is a value of the original.
    for (const auto& line : reportLines(report)) {
        for (std::u16string_view value : {u"山田", u"李", u"06131234", u"98765", u"7654321", u"山田内科"}) {
            EXPECT_EQ(line.find(value), std::u16string::npos) << utf16ToUtf8(line);
        }
    }
}

TEST_F(ClaimsCheck, EveryReplacedFieldIsSearchedForAndEveryOtherIsNot) {
    // The original holds a distinct value in every replaced field; the anonymised file
    // holds each of them once in a record of its own, so each finding names its field.
    const struct {
        std::u16string record;  // the original record, the value in the field under test
        std::u16string value;
        bool searched;
        K kind;
    } cases[] = {
        {u"IR,1,13,1,7654321,,医院,50611,00,03-1111-2222", u"7654321", true, K::ClinicCode},
        {u"IR,1,13,1,0000000,,山田内科,50611,00,03-1111-2222", u"山田内科", true, K::ClinicName},
        {u"IR,1,13,1,0000000,,医院,50611,00,03-1111-2222", u"03-1111-2222", true, K::Telephone},
        {u"IR,1,13,1,0000000,,医院,50611,00,03-1111-2222", u"50611", false, K::ClinicCode},
        {u"RE,1,1112,50611,佐藤　花子", u"佐藤", true, K::PatientName},
        {u"RE,1,1112,50611,x,1,3,,,,,,,0012345", u"0012345", false, K::PatientName},
        {u"RE,1,2,3,x,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,34,35,"
         u"ｻﾄｳ ﾊﾅｺ",
         u"サトウ", true, K::KanaName},
        {u"HO,06131234,記号,98765", u"06131234", true, K::InsurerNumber},
        {u"HO,06131234,ABCD,98765", u"ABCD", true, K::CardSymbol},
        {u"HO,06131234,記号,98765", u"98765", true, K::CardNumber},
        {u"KO,80136010,1111111", u"80136010", true, K::PayerNumber},
        {u"KO,80136010,1111111", u"1111111", true, K::RecipientNumber},
        {u"SN,1,01,39131234,1", u"39131234", true, K::InsurerNumber},
        {u"SN,1,01,x,ｱｲｳｴ", u"ｱｲｳｴ", true, K::CardSymbol},
        {u"SN,1,01,x,y,55555", u"55555", true, K::CardNumber},
        {u"SN,1,01,x,y,z,0123", u"0123", false, K::CardNumber},  // the branch number
        {u"SN,1,01,x,y,z,01,2222222", u"2222222", true, K::RecipientNumber},
    };
    for (const auto& c : cases) {
        const auto report = check({c.record}, {u"ZZ," + c.value});
        ASSERT_EQ(report.findingCount, c.searched ? 1u : 0u) << utf16ToUtf8(c.record);
        if (c.searched) {
            EXPECT_EQ(report.findings[0].kind, c.kind) << utf16ToUtf8(c.record);
            EXPECT_EQ(report.findings[0].line, 1u);
            EXPECT_EQ(report.findings[0].record, u"ZZ");
        }
    }
}

// Records outside the medical claims layout (RR of a workers' compensation file, free text)
// are counted as not checked; a blank line holds nothing to check.
TEST_F(ClaimsCheck, CountsEveryRecordIdentifierAndExpectsSjAndCoToBeGone) {
    const auto report =
        check({clinicRecord(), u"RE,1", u"SJ,1", u"CO,1", u"SI,1", u"SI,2", u"", u"山田,太郎", u"RR,1", u"RR,2", u" "},
              {u"IR,1", u"CO,1", u"SI,1", u"XX,1", u"", u"\"TO\",1", u"RR,1", u"RR,2"});
    const std::vector<std::tuple<std::u16string, size_t, size_t, bool, bool>> expected = {
        {u"IR", 1, 1, true, true},       {u"RE", 1, 0, false, true}, {u"SJ", 1, 0, true, true},
        {u"CO", 1, 1, false, true},      {u"SI", 2, 1, false, true}, {u"空行", 2, 1, false, true},
        {u"その他", 1, 0, false, false}, {u"RR", 2, 2, true, false}, {u"XX", 0, 1, false, false},
        {u"TO", 0, 1, false, true},
    };
    ASSERT_EQ(report.counts.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const auto& [record, original, anonymised, matches, known] = expected[i];
        EXPECT_EQ(report.counts[i].record, record);
        EXPECT_EQ(report.counts[i].original, original) << i;
        EXPECT_EQ(report.counts[i].anonymised, anonymised) << i;
        EXPECT_EQ(report.counts[i].matches(), matches) << i;
        EXPECT_EQ(report.counts[i].known, known) << i;
    }
    EXPECT_EQ(report.uncheckedRecords(), 3u);
    EXPECT_FALSE(report.countsMatch());
    EXPECT_TRUE(report.nothingSurvives());
}

TEST_F(ClaimsCheck, AnAlreadyAnonymisedFileChecksClean) {
    write(kLeakyClaims);
    const auto first = claims::Conv(programFolder.path(), inputText()).outcome.files().at(0);
    TempDir again;
    const auto second = claims::Conv(again.path(), first.u16string()).outcome.files().at(0);
    const auto report = claims::checkAnonymisedClaims(first, second);
    EXPECT_TRUE(report.clean());
    const KindTally* names = tallyOf(report, K::PatientName);
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(names->dummy, 2u);
    EXPECT_EQ(names->checked, 0u);
}

TEST_F(ClaimsCheck, AFileThatCannotBeReadIsAnError) {
    write({clinicRecord()});
    EXPECT_THROW(claims::checkAnonymisedClaims(input(), programFolder / "none.UKE"), Error);
    EXPECT_THROW(claims::checkAnonymisedClaims(programFolder / "none.UKE", input()), Error);
    write({u"RR,1", u"山田,太郎", u"SI,1"});  // no IR, RE, HO, KO or SN: taken as a form-1 file
    EXPECT_FALSE(claims::holdsClaimsRecord(input()));
    write({u"RR,1", u"山田,太郎"});  // nothing of the medical claims layout: nothing to check
    EXPECT_THROW(claims::checkAnonymisedClaims(input(), input()), Error);
    write({u"", u"SI,1", u"\"SN\",1"});
    EXPECT_TRUE(claims::holdsClaimsRecord(input()));
    writeBytes(programFolder / "ff.txt", "IR\tname\r\n");
    EXPECT_FALSE(claims::holdsClaimsRecord(programFolder / "ff.txt"));
}

// --- The pseudonymisation profile.

std::string testKey() { return std::string(32, '\x5A'); }

class PseudonymCheck : public ClaimsFiles {
protected:
    // The profile's own output of `original`, each line of it then passed through `change`
    // (by line number, from 1), checked with the profile.
    AnonymisationReport check(const std::vector<std::u16string>& original,
                              const std::function<void(size_t, std::vector<std::u16string>&)>& change = nullptr) {
        write(original);
        ChartPseudonyms pseudonyms(testKey());
        const auto written = claims::Conv(programFolder.path(), inputText(), &pseudonyms).outcome.files().at(0);
        std::vector<std::u16string> lines = linesOf(readBytes(written));
        if (change) {
            for (size_t i = 0; i < lines.size(); ++i) {
                std::vector<std::u16string> fields = splitFields(lines[i]);
                change(i + 1, fields);
                lines[i] = joinFields(fields, u',');
            }
        }
        writeBytes(written, sjisLines(lines));
        return claims::checkAnonymisedClaims(input(), written, AnonymisationProfile::Pseudonym);
    }
    static std::vector<std::u16string> splitFields(const std::u16string& line) {
        std::vector<std::u16string> fields;
        GetCommaTxt(line, fields);
        return fields;
    }
};

// Three claims, two of them of one patient (written in two forms of one number), a claim
// without chart number, and every field the profile empties or cuts.
const std::vector<std::u16string> kPatients = {
    u"IR,1,13,1,7654321,,山田内科,202406,00,03-1111-2222",
    u"RE,1,1112,202406,山田　花子,2,19800115,,20240603,,,,,00123-01,,,,,98765,,請求",
    u"SI,11,1,111000110,,1234,1,830100001,検査,,,,",
    u"TO,40,1,730010000,2,15,1,019,150.00,,ガーゼ",
    u"RE,2,1112,202406,山田　花子,2,19800115,,,,,,,123",
    u"SY,0000999,20240510,1,,右手の痛み,,自宅で転倒",
    u"RE,3,1112,202406,鈴木　一郎,1,19551231,,,,,,,4567",
    u"RE,4,1112,202406,佐藤　次郎,1,20010704,,,,,,,",
};

// Fed by the anonymiser while it reads, the check reports what it reports reading both files.
TEST_F(ClaimsCheck, FedByTheAnonymiserItReportsAsFromBothFiles) {
    for (const auto profile : {AnonymisationProfile::Written, AnonymisationProfile::Pseudonym}) {
        write(profile == AnonymisationProfile::Written ? kLeakyClaims : kPatients);
        ChartPseudonyms pseudonyms(std::string(32, '\x01'));
        claims::ClaimsAnonymisationCheck fed(profile);
        const bool pseudonym = profile == AnonymisationProfile::Pseudonym;
        const auto written = claims::Conv(programFolder.path(), inputText(), pseudonym ? &pseudonyms : nullptr, &fed)
                                 .outcome.files()
                                 .at(0);
        EXPECT_EQ(reportLines(fed.check(input(), written)),
                  reportLines(claims::checkAnonymisedClaims(input(), written, profile)));
    }
}

TEST_F(PseudonymCheck, TheProfilesOwnOutputProvesItself) {
    const std::filesystem::path fixtures(VASK_CLAIMS_FIXTURES);
    std::string good = readBytes(fixtures / "LAYOUT_GOOD.UKE");
    good.pop_back();  // its end mark
    for (const auto& original :
         {kPatients, linesOf(good), linesOf(readBytes(fixtures / "RECEIPTC_GAIRAI_SAMPLE.UKE"))}) {
        const auto report = check(original);
        EXPECT_TRUE(report.clean());
        for (const auto& finding : report.findings) {
            ADD_FAILURE() << finding.line << " " << int(finding.what) << " " << int(finding.kind);
        }
        EXPECT_EQ(report.profile, AnonymisationProfile::Pseudonym);
        ASSERT_FALSE(report.positions.empty());
        EXPECT_EQ(report.positions.front().kind, K::ChartNumber);
    }
    const auto report = check(kPatients);
    const KindTally* charts = tallyOf(report, K::ChartNumber);
    ASSERT_NE(charts, nullptr);
    EXPECT_EQ(charts->checked, 2u);  // 00123-01 and 4567; 123 is too short
    EXPECT_EQ(charts->tooShort, 1u);
}

TEST_F(PseudonymCheck, EachFaultOfTheProfileIsFoundByPosition) {
    using W = Finding::What;
    const struct {
        const char* what;
        size_t line;  // the anonymised line changed
        size_t field;
        std::u16string value;
        W finding;
        K kind;
    } cases[] = {
        {"the original chart number", 2, 13, u"00123-01", W::NotPseudonym, K::ChartNumber},
        {"not of the pseudonym's form", 2, 13, u"awwfialzi0", W::NotPseudonym, K::ChartNumber},
        {"a pseudonym for no number", 8, 13, u"AWWFIALZI0", W::NotPseudonym, K::ChartNumber},
        {"one patient, two pseudonyms", 5, 13, u"BBBBBBBBBB", W::PseudonymsDisagree, K::ChartNumber},
        {"the day of birth kept", 2, 6, u"19800115", W::DayKept, K::BirthDate},
        {"the day of admission kept", 2, 8, u"20240603", W::DayKept, K::AdmissionDate},
        {"a search number", 2, 18, u"98765", W::FieldFilled, K::SearchNumber},
        {"a comment", 3, 8, u"検査", W::FieldFilled, K::FreeText},
        {"a disease name written as text", 6, 5, u"右手の痛み", W::FieldFilled, K::FreeText},
        {"a chart number in a text field", 4, 10, u"００１２３－０１", W::Survives, K::ChartNumber},
        {"a patient's name in a text field", 4, 10, u"山田　花子", W::Survives, K::PatientName},
    };
    for (const auto& c : cases) {
        const auto report = check(kPatients, [&](size_t line, std::vector<std::u16string>& fields) {
            if (line == c.line) fields.at(c.field) = c.value;
        });
        ASSERT_EQ(report.findingCount, 1u) << c.what;
        EXPECT_EQ(report.findings[0].what, c.finding) << c.what;
        EXPECT_EQ(report.findings[0].kind, c.kind) << c.what;
        EXPECT_EQ(report.findings[0].line, c.line) << c.what;
    }
    // Two patients given one pseudonym.
    const auto report = check(kPatients, [&](size_t line, std::vector<std::u16string>& fields) {
        static std::u16string first;
        if (line == 2) first = fields.at(13);
        if (line == 7) fields.at(13) = first;
    });
    ASSERT_EQ(report.findingCount, 1u);
    EXPECT_EQ(report.findings[0].what, W::PseudonymsDisagree);
}

TEST_F(PseudonymCheck, ANumberFieldEqualToAChartNumberIsNoFinding) {
    // SI 点数 1234 equals no chart number here; 4567 in a number field is a count, not a leak.
    const auto report = check(kPatients, [](size_t line, std::vector<std::u16string>& fields) {
        if (line == 3) fields.at(5) = u"4567";
    });
    EXPECT_TRUE(report.clean());
}

}  // namespace
}  // namespace vask::test
