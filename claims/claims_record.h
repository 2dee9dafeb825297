// One record (line) of a claims file (.UKE): its identifier and its comma-separated fields.
//
// A claims file knows no quoting: every comma separates two fields and every double quote
// is dropped, as GetCommaTxt splits. Field 0 is the record identifier, compared exactly.
//
// The tools work on a record's code page 932 bytes as read, decoding only the fields they
// read as text: a comma, a double quote, a blank, a control character, CR and LF are
// never part of a two-byte character, so that splitting, joining and quoting the bytes
// gives the bytes of the same work done on the decoded text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

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
// The same for the code page 932 bytes of a line.
RecordId recordId(std::string_view line);

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
inline RecordKind recordKind(std::string_view line) { return recordKind(recordId(line)); }

// The fields of one record, as code page 932 bytes. The storage is kept from record to
// record, so that a run over a large file does not allocate per field.
class Record {
public:
    // Splits the valid code page 932 bytes of `line` as GetCommaTxt splits its text: n
    // commas give n + 1 fields, double quotes are dropped. The fields view `line`, which
    // must stay as it is while the record is used.
    void split(std::string_view line);

    size_t size() const { return fields_.size(); }
    bool has(size_t position) const { return position < fields_.size(); }
    // The bytes of the field at `position`; raises "リストのインデックスが範囲を超えています
    // (position)" when the record is shorter.
    std::string_view at(size_t position) const;
    // Sets the field at `position` to a copy of `value` (raising as `at` does).
    void set(size_t position, std::string_view value);
    // The comma-text join of the fields (CommaText), appended to `out`.
    void appendJoined(std::string& out) const;
    // The fields joined by commas alone, as the format writes a record, appended to `out`.
    void appendJoinedByCommas(std::string& out) const;

private:
    static constexpr size_t kTracked = 64;  // fields whose place in the line is kept when set

    std::string_view line_;  // what was split: the line, or unquoted_
    std::vector<std::string_view> fields_;
    std::string unquoted_;            // the line without its double quotes, when it had any
    std::deque<std::string> values_;  // the values set, each kept at its own address
    size_t valuesUsed_ = 0;
    bool commaSet_ = false;                      // whether a value set holds a comma
    bool farSet_ = false;                        // whether a field from kTracked on was set
    std::uint64_t setMask_ = 0;                  // bit i: field i was set
    std::string_view originals_[kTracked] = {};  // field i as split, for each set field
};

}  // namespace vask::claims
