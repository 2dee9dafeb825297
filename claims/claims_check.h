// The check of a claims file against the record layout (record_layout.h): every record's
// identifier and field count, every field's mode, length and whether it is filled (and
// that no field holds a double quote, which the format does not know), every
// claim's treatment month against the billing month, and the totals of the GO record
// against the claims of the file. What it finds names record identifiers, field names
// and line numbers, never a value of the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "claims/record_layout.h"

namespace vask::claims {

struct ClaimsFinding {
    enum class What {
        UnknownRecord,      // an identifier the layout does not have
        FieldCount,         // fields: `actual`, the layout's `expected` (or `fewest`)
        Empty,              // a field that must be filled is empty
        NotDigits,          // 数字 field with other characters
        NotOneByte,         // 英数 field with two-byte characters
        NotTwoByte,         // 漢字 field with one-byte characters
        MixedModes,         // 英数又は漢字 field with both
        TooLong,            // longer than `expected` bytes
        WrongLength,        // a fixed-length field not `expected` bytes long
        MonthAfterBilling,  // RE 診療年月 after IR 請求年月
        TotalClaims,        // GO 総件数 differs from the `expected` claims counted
        TotalPoints,        // GO 総合計点数 differs from the `expected` points counted
        NoTotalsRecord,     // the file has no GO record
        DoubleQuote,        // a double quote in a field: the format knows no quoting
    };
    What what = What::UnknownRecord;
    std::u16string record;  // the record identifier, or その他 for a line without one
    std::u16string field;   // the field's name; empty for a finding about the record or file
    size_t line = 0;        // from 1; 0 for the file as a whole
    size_t expected = 0;
    size_t fewest = 0;
    size_t actual = 0;
};

struct ClaimsRecordCount {
    std::u16string record;
    size_t count = 0;
};

// What became of the GO record's totals.
enum class TotalsCheck {
    Matched,        // both agree with the claims of the file
    Differed,       // a finding says which
    NotLastVolume,  // GO field 3 is not 99: the layout leaves the totals out
    LaterVolume,    // the last of several volumes: the totals count every volume
    NoTotalsRecord,
};

struct ClaimsCheckReport {
    // The number of findings a report lists; findingCount counts them all.
    static constexpr size_t kListedFindings = 100;

    LayoutRevision revision = LayoutRevision::Western;
    std::vector<ClaimsRecordCount> counts;  // in the order the identifiers first appear
    std::vector<ClaimsFinding> findings;
    size_t findingCount = 0;
    TotalsCheck totals = TotalsCheck::NoTotalsRecord;
    bool pointsUnread = false;  // a claim's main total was no number: points not compared

    void addFinding(ClaimsFinding finding);
    bool clean() const { return findingCount == 0; }
};

// The check of one record's shape, as the check of a file makes it of every record: its
// identifier, field count, every field's mode, length and whether it is filled, and double
// quotes; not what depends on other records (the billing month, the totals).
class ClaimsRecordCheck {
public:
    explicit ClaimsRecordCheck(LayoutRevision revision) : revision_(revision) {}
    // The findings of the record `line` (its code page 932 bytes, valid Shift-JIS text) at
    // line `number`, valid until the next call.
    const std::vector<ClaimsFinding>& check(std::string_view line, size_t number);
    // The fields of the record last checked, split at every comma, and its layout (none
    // for an identifier the layout does not have).
    const std::vector<std::string_view>& fields();
    std::string_view id() const { return id_; }  // field 0
    const RecordLayout* layout() const { return layout_; }

private:
    const RecordLayout* layoutOf(std::string_view id) const;
    void checkFields(const RecordLayout& layout, size_t line);
    void checkQuotes(const RecordLayout* layout, const std::u16string& label, size_t line);
    void checkField(const RecordLayout& layout, size_t position, std::string_view value, size_t line);
    void emptyRequired(const RecordLayout& layout, std::uint64_t empty, size_t line);
    static size_t fieldIndex(const RecordLayout& layout, const std::u16string& name);
    void add(ClaimsFinding finding) { findings_.push_back(std::move(finding)); }

    LayoutRevision revision_;
    std::vector<ClaimsFinding> findings_;  // of the record last checked, every one
    std::string_view line_;
    std::string_view id_;
    bool quoted_ = false;  // the line holds a double quote
    std::vector<std::string_view> fields_;
    bool split_ = false;  // fields_ holds the fields of line_
    const RecordLayout* layout_ = nullptr;
};

// The revision of the layout a claims file whose first line is `line` is written in (the
// one its IR billing month names, the current one when the month is of no known length);
// nothing when the line is no IR record.
std::optional<LayoutRevision> revisionOfClinicRecord(std::string_view line);

// Checks the claims file `file`, read as the claims tools read it (code page 932
// Shift-JIS text, lines ended by CR or LF, up to the byte 0x1A), in memory bounded by
// its longest line. The layout's revision is the one its IR billing month names. Raises
// Error when the file cannot be read, is no Shift-JIS text or does not begin with an IR
// record.
ClaimsCheckReport checkClaimsFile(const std::filesystem::path& file);

// The report as text lines (Japanese), as vask-cli prints it; the last line sums it up.
std::vector<std::u16string> claimsCheckLines(const ClaimsCheckReport& report);
// One finding as the report lists it ("  12行目 REレコード 氏名: ...").
std::u16string claimsFindingLine(const ClaimsFinding& finding);
// What the check cannot know, as the report says it.
inline constexpr std::u16string_view kClaimsCheckLeavesOut =
    u"確かめていないこと: 診療行為・医薬品・特定器材・傷病名などのコードが正しいか"
    u"（コード表は改定ごとに変わるため）";

}  // namespace vask::claims
