// One record (line) of a claims file (.UKE): its identifier and its comma-separated fields.
//
// A claims file knows no quoting: every comma separates two fields and every double quote
// is dropped, as GetCommaTxt splits. Field 0 is the record identifier, compared exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_formats.h"

namespace vask::claims {

// A record identifier: the two units of field 0, the first in the high half; 0 when field 0
// is no identifier.
struct RecordId {
    std::uint32_t value = 0;
    bool operator==(const RecordId&) const = default;
    // The two letters ("IR"); empty for no identifier.
    std::u16string text() const;
};

// Field 0 of `line` as GetCommaTxt gives it (double quotes dropped), looking no further
// than the first comma, when it has the form of a record identifier: two capital letters
// or digits. Any other field 0 (an empty line, free text, a name) is no identifier.
RecordId recordId(std::u16string_view line);

// Whether `id` is a record of the medical (医科) claims record layout, as the record
// layout (record_layout.h) lists them. The anonymiser knows these records; a file of
// another layout (workers' compensation, dental) holds records of its own.
bool inMedicalLayout(RecordId id);

// The records the claims tools act on; every other identifier (an empty line too) is Other.
enum class RecordKind {
    Clinic,          // IR: examining body, clinic code and name, billing month, telephone
    Claim,           // RE: one claim; claim number, patient name, chart number, kana name
    Insurer,         // HO: insurer number, card symbol and number
    PublicExpense,   // KO: payer and recipient numbers
    Qualification,   // SN: the insurance numbers again, as the qualification check saw them
    SymptomDetails,  // SJ: free text on the course of the illness
    Comment,         // CO: comment text
    Other,
};

// The kind of a record by its field 0, looking no further than the first comma.
RecordKind recordKind(RecordId id);
inline RecordKind recordKind(std::u16string_view line) { return recordKind(recordId(line)); }

// The fields of one record. The field texts are kept from record to record, so that a
// run over a large file reuses their storage instead of allocating per field.
class Record {
public:
    // Splits `line` as GetCommaTxt does: n commas give n + 1 fields, quotes are dropped.
    void split(std::u16string_view line);

    size_t size() const { return fields_.size(); }
    bool has(size_t position) const { return position < fields_.size(); }
    // The field at `position`; raises "リストのインデックスが範囲を超えています (position)"
    // when the record is shorter.
    std::u16string& at(size_t position);
    // Sets the field at `position` (raising as `at` does).
    void set(size_t position, std::u16string_view value) { at(position).assign(value); }
    // The comma-text join of the fields (CommaText), appended to `out`.
    void appendJoined(std::u16string& out) const;
    // The fields joined by commas alone, as the format writes a record, appended to `out`.
    void appendJoinedByCommas(std::u16string& out) const;

private:
    std::vector<std::u16string> fields_;
};

}  // namespace vask::claims
