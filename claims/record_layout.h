// The record layout of medical (医科) claims files as data: for each record identifier
// the layout knows, its fields in order, each with its name as the layout names it, its
// mode, its maximum or fixed length in bytes, whether it must be filled and whether it
// identifies a patient. Two revisions are told apart by what a file itself says: the
// current one writes dates in the Western calendar (billing month YYYYMM, six digits),
// the older one in the era calendar (GYYMM, five digits).
//
// The table (record_layout.cpp) is the one source of these facts for every tool that
// reads fields by meaning: the check of a claims file reads its modes and lengths, and
// a tool that hides patients asks which fields of a record hold what.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vask::claims {

// The calendar of a file's dates, which decides its revision of the layout.
enum class LayoutRevision {
    Western,  // the current layout: YYYYMM, YYYYMMDD
    Era,      // the older layout: GYYMM, GYYMMDD (G the era code)
};

// The characters a field may hold, as the layout names its modes.
enum class FieldMode : unsigned char {
    Digits,               // 数字: the ASCII digits only
    Alphanumeric,         // 英数: one-byte characters only (ASCII, half-width kana)
    Kanji,                // 漢字: two-byte characters only
    AlphanumericOrKanji,  // 英数又は漢字: one mode or the other, not both mixed
    Unchecked,            // the sources do not say: nothing is checked
};

// What a field tells about a patient (or the clinic), for the tools that hide patients.
enum class Identifies : unsigned char {
    Nothing,
    Clinic,               // the clinic's code, name or telephone number
    PatientName,          // 氏名
    KanaName,             // カタカナ（氏名）
    BirthDate,            // 生年月日
    AdmissionDate,        // 入院年月日
    ChartNumber,          // カルテ番号等
    SearchNumber,         // 検索番号
    InsuranceNumber,      // insurer number, card symbol and number, branch number
    PublicExpenseNumber,  // public-expense payer and recipient numbers
    FreeText,             // comment data and other text the clinic writes freely
    DiseaseName,          // a disease name written as text (uncoded)
    SymptomDetails,       // 症状詳記データ
};

struct FieldLayout {
    std::u16string name;  // as the layout names it
    FieldMode mode = FieldMode::Unchecked;
    size_t bytes = 0;  // the maximum (or, when fixedLength, the exact) length; 0: not given
    bool fixedLength = false;
    bool required = false;
    Identifies identifies = Identifies::Nothing;
};

// What the check of a field looks at, compactly, for the tools that check every field of a
// file (a copy of the field's FieldLayout without its name).
struct FieldShape {
    FieldMode mode = FieldMode::Unchecked;
    bool fixedLength = false;
    bool required = false;
    unsigned short bytes = 0;
};

struct RecordLayout {
    std::u16string_view id;    // the record identifier, field 0
    std::u16string_view name;  // the record's name in the layout
    // Every field from field 0 on; empty when the layout's fields of this record are not
    // described here (the record is known, its fields are not checked).
    std::vector<FieldLayout> fields;
    std::vector<FieldShape> shapes;  // of the same fields, in the same order
    // The fields of a kind as bits (bit i for field i; the layout's records have fewer
    // than 64 fields), for the tools that look at every record of a file.
    std::uint64_t requiredMask = 0;     // must be filled
    std::uint64_t identifyingMask = 0;  // identify a patient or the clinic (Identifies other than Nothing)
    std::uint64_t textMask = 0;         // hold text: of the modes 漢字, 英数又は漢字 or of no given mode
    // The field count a record may have instead of all fields: the last fields were added
    // by a later revision of the same calendar, so older files end before them.
    size_t fewestFields = 0;
    // A record whose fields are not described but are known to hold only codes, days of
    // treatment and amounts, nothing that identifies a patient.
    bool identifiesNobody = false;

    bool described() const { return !fields.empty(); }
    // Whether a tool that hides patients knows what every field of the record holds.
    bool fieldsKnown() const { return described() || identifiesNobody; }
    bool fieldCountFits(size_t count) const { return count == fields.size() || count == fewestFields; }
};

// The layout of the record `id` in `revision`, or nothing when the layout has no such
// record.
const RecordLayout* findRecordLayout(LayoutRevision revision, std::u16string_view id);
inline bool isKnownRecord(LayoutRevision revision, std::u16string_view id) {
    return findRecordLayout(revision, id) != nullptr;
}
// The same for an identifier of two bytes (capital letters or digits), in one lookup: for
// the tools that look up every record of a file.
const RecordLayout* findRecordLayout(LayoutRevision revision, char first, char second);
// Whether the layout has the record `id` (both revisions know the same records).
bool isLayoutRecord(std::u16string_view id);
// The positions of the fields of record `id` that hold `kind` (none for an unknown or
// undescribed record).
std::vector<size_t> fieldsThatIdentify(LayoutRevision revision, std::u16string_view id, Identifies kind);
// Every record the revision knows, in the order the layout lists them.
std::span<const RecordLayout> recordLayouts(LayoutRevision revision);

// The revision whose billing month (IR field 7) has the length of `billingMonth`: six
// characters Western, five era; nothing for any other length.
std::optional<LayoutRevision> revisionOfBillingMonth(std::u16string_view billingMonth);
// The revision as a report names it.
std::u16string_view revisionLabel(LayoutRevision revision);

}  // namespace vask::claims
