// The record layout table: its shape against the field counts of real claims files, and
// the questions a tool that hides patients asks of it.
#include "claims/record_layout.h"

#include <gtest/gtest.h>

namespace vask::claims {
namespace {

using R = LayoutRevision;

// The field counts of the records of real files: the public sample of the current
// revision and era-calendar files of the same records.
TEST(RecordLayout, FieldCountsAreThoseOfRealFiles) {
    const std::pair<std::u16string_view, size_t> counts[] = {
        {u"IR", 10}, {u"RE", 38}, {u"HO", 15}, {u"KO", 12}, {u"KH", 2}, {u"SN", 9}, {u"SY", 8},
        {u"SI", 44}, {u"IY", 44}, {u"TO", 48}, {u"CO", 5},  {u"SJ", 3}, {u"GO", 4},
    };
    for (const R revision : {R::Western, R::Era}) {
        for (const auto& [id, count] : counts) {
            const RecordLayout* layout = findRecordLayout(revision, id);
            ASSERT_NE(layout, nullptr);
            EXPECT_EQ(layout->fields.size(), count) << std::string(id.begin(), id.end());
        }
    }
    // Era files from before カタカナ（氏名） and 患者の状態 end their RE record at field 35.
    EXPECT_TRUE(findRecordLayout(R::Era, u"RE")->fieldCountFits(36));
    EXPECT_TRUE(findRecordLayout(R::Era, u"RE")->fieldCountFits(38));
    EXPECT_FALSE(findRecordLayout(R::Era, u"RE")->fieldCountFits(37));
    EXPECT_FALSE(findRecordLayout(R::Western, u"RE")->fieldCountFits(36));
}

// A row missing from the table would leave a field without name and rules.
TEST(RecordLayout, EveryDescribedFieldHasAName) {
    for (const R revision : {R::Western, R::Era}) {
        for (const auto& record : recordLayouts(revision)) {
            if (!record.described()) continue;
            EXPECT_EQ(record.fields[0].name, u"レコード識別情報");
            for (size_t i = 0; i < record.fields.size(); ++i) {
                EXPECT_FALSE(record.fields[i].name.empty()) << std::string(record.id.begin(), record.id.end()) << i;
            }
        }
    }
}

TEST(RecordLayout, DatesFollowTheRevisionsCalendar) {
    const struct {
        std::u16string_view record;
        size_t position;
        size_t western;
        size_t era;
    } dates[] = {{u"IR", 7, 6, 5}, {u"RE", 3, 6, 5}, {u"RE", 6, 8, 7}, {u"SY", 2, 8, 7}};
    for (const auto& d : dates) {
        EXPECT_EQ(findRecordLayout(R::Western, d.record)->fields[d.position].bytes, d.western);
        EXPECT_EQ(findRecordLayout(R::Era, d.record)->fields[d.position].bytes, d.era);
    }
    EXPECT_EQ(revisionOfBillingMonth(u"202406"), R::Western);
    EXPECT_EQ(revisionOfBillingMonth(u"50606"), R::Era);
    EXPECT_EQ(revisionOfBillingMonth(u"2406"), std::nullopt);
}

TEST(RecordLayout, AnswersWhichFieldsIdentifyAPatient) {
    using I = Identifies;
    const struct {
        std::u16string_view record;
        Identifies kind;
        std::vector<size_t> positions;
    } cases[] = {
        {u"RE", I::PatientName, {4}},
        {u"RE", I::KanaName, {36}},
        {u"RE", I::BirthDate, {6}},
        {u"RE", I::AdmissionDate, {8}},
        {u"RE", I::ChartNumber, {13}},
        {u"RE", I::SearchNumber, {18}},
        {u"HO", I::InsuranceNumber, {1, 2, 3}},
        {u"KO", I::PublicExpenseNumber, {1, 2}},
        {u"SI", I::FreeText, {8, 10, 12}},
        {u"TO", I::FreeText, {12, 14, 16}},
        {u"CO", I::FreeText, {4}},
        {u"SY", I::DiseaseName, {5}},
        {u"SJ", I::SymptomDetails, {2}},
        {u"IR", I::Clinic, {4, 6, 9}},
        {u"JD", I::FreeText, {}},
        {u"XX", I::PatientName, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fieldsThatIdentify(R::Western, c.record, c.kind), c.positions)
            << std::string(c.record.begin(), c.record.end());
    }
    EXPECT_TRUE(isKnownRecord(R::Western, u"MF"));
    EXPECT_FALSE(findRecordLayout(R::Western, u"MF")->described());
    EXPECT_FALSE(isKnownRecord(R::Western, u"re"));
    EXPECT_FALSE(isKnownRecord(R::Era, u"UK"));  // a dental file's first record
}

}  // namespace
}  // namespace vask::claims
