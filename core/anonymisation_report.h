// What checking an anonymised file against its original found: the records of both files
// counted, the identifying values of the original searched for, and where any of them was
// still found. A report names kinds, counts, record identifiers and line numbers only;
// it never holds an identifying value itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/anonymisation_profile.h"
#include "core/messages.h"

namespace vask {

// The kinds of identifying value an anonymiser replaces. The last six are what the
// pseudonymisation profile replaces on top; its check looks at them by position.
enum class IdentifierKind : unsigned char {
    ClinicCode,       // 医療機関コード
    ClinicName,       // 医療機関名称
    Telephone,        // 電話番号
    PatientName,      // 患者氏名
    KanaName,         // カタカナ氏名
    InsurerNumber,    // 保険者番号
    CardSymbol,       // 被保険者証の記号
    CardNumber,       // 被保険者証の番号
    PayerNumber,      // 公費負担者番号
    RecipientNumber,  // 公費受給者番号
    ChartNumber,      // カルテ番号
    BirthDate,        // 生年月日
    AdmissionDate,    // 入院年月日
    SearchNumber,     // 検索番号
    FreeText,         // 自由記載の文字 (comment data, disease names written as text)
    PostalCode,       // 郵便番号 (form-1)
};
inline constexpr size_t kIdentifierKindCount = 16;

// The kind's name as the report shows it.
std::u16string_view kindLabel(IdentifierKind kind);

// Bit set of IdentifierKind, bit n for the kind of ordinal n.
using KindSet = std::uint32_t;
constexpr KindSet kindBit(IdentifierKind kind) { return static_cast<KindSet>(1u << static_cast<unsigned>(kind)); }

// The shortest values the check searches for (core/identifier_search.h); shorter ones are
// left out of the search, and the report counts them and says why. A number or symbol of
// one to three characters equals counts, points and days found in every claims file (and
// a one-digit card symbol or two-digit branch number any digit field); a one-character
// name would be found in any Japanese text.
inline constexpr size_t kShortestNumber = 4;
inline constexpr size_t kShortestName = 2;

// How many records of one identifier each file holds. A record the anonymiser drops must
// be missing from the anonymised file; every other record must be there as often.
struct RecordCount {
    std::u16string record;  // the record identifier (claims), empty for the lines of a form-1 file
    size_t original = 0;
    size_t anonymised = 0;
    bool dropped = false;  // the anonymiser drops these records
    // The check knows what these records hold. A record of another layout (a workers'
    // compensation or a dental claims file) may hold names and numbers of its own, which
    // neither the anonymiser nor the check know.
    bool known = true;
    bool matches() const { return anonymised == (dropped ? 0 : original); }
};

// How many distinct values of one kind the original held: searched for, or left out as
// too short to mean anything or as equal to a dummy value of the anonymiser.
struct KindTally {
    IdentifierKind kind = IdentifierKind::PatientName;
    size_t checked = 0;
    size_t tooShort = 0;
    size_t dummy = 0;
};

struct Finding {
    enum class What {
        Survives,            // a value of the original stands in the record
        FieldFilled,         // a field the anonymiser empties holds text
        NotPseudonym,        // a chart number without the pseudonym's form, or the original's
        PseudonymsDisagree,  // one original number got two pseudonyms, or two numbers one
        DayKept,             // a date whose day is not 01
        PostalCodeKept,      // a postal code with a digit other than 0 after its third
    };
    What what = What::Survives;
    IdentifierKind kind = IdentifierKind::PatientName;
    std::u16string record;  // the record identifier (claims), empty in a form-1 file
    size_t line = 0;        // line number in the anonymised file, from 1
};

// How many fields of one kind the check of the pseudonymisation profile looked at by
// position (the chart numbers, the dates, the fields to be empty).
struct PositionTally {
    IdentifierKind kind = IdentifierKind::ChartNumber;
    size_t checked = 0;
};

struct AnonymisationReport {
    enum class FileKind { Claims, FormOne };
    // The number of findings a report lists; findingCount counts them all.
    static constexpr size_t kListedFindings = 100;

    FileKind fileKind = FileKind::Claims;
    AnonymisationProfile profile = AnonymisationProfile::Written;
    // What the check of this kind of file looks for, in kind order, and the identifying
    // items the anonymiser keeps on purpose, which it does not look for.
    std::vector<IdentifierKind> sought;
    std::vector<std::u16string> kept;
    std::vector<RecordCount> counts;
    std::vector<KindTally> kinds;          // in kind order, the kinds the original held values of
    std::vector<PositionTally> positions;  // the pseudonymisation profile's fields, in kind order
    std::vector<Finding> findings;
    size_t findingCount = 0;

    void addFinding(Finding finding);
    bool countsMatch() const;
    bool nothingSurvives() const { return findingCount == 0; }
    // The records of the original the check does not know (RecordCount::known).
    size_t uncheckedRecords() const;
    // Whether any value of the original was searched for.
    bool searchedAny() const;
    // Every count as it should be, nothing found and every record known.
    bool clean() const { return countsMatch() && nothingSurvives() && uncheckedRecords() == 0; }
};

// Adds to `report` one finding for each kind in `found`, at `line` of the anonymised file.
void reportSurvivors(KindSet found, std::u16string_view record, size_t line, AnonymisationReport& report);
// Counts one field of `kind` looked at by position in `report`.
void countPosition(IdentifierKind kind, AnonymisationReport& report);
// What the pseudonymisation profile keeps on purpose, as a report names it.
std::vector<std::u16string> keptByPseudonymProfile(AnonymisationReport::FileKind fileKind);

// The report as text lines (Japanese), as vask-cli prints it.
std::vector<std::u16string> reportLines(const AnonymisationReport& report);

// The question before saving files of which a check found something or that it could not
// check in full.

// The checks of one run's anonymised files, as the result window shows them in one line:
// what they proved (the kinds searched for, in groups, and what the anonymiser keeps), or
// the kinds of value that survived, the records whose counts differ and the records not
// checked; `detail` adds the file names, output line numbers, the kinds searched for and
// what the anonymiser keeps, in full (the line's tooltip). Another check of written files
// (the claims check of a file for submission) fills the same line, with its own question
// before saving what it found something in.
struct CheckSummary {
    std::u16string line;
    std::u16string detail;
    bool clean = true;
    std::u16string question = std::u16string(msg::kSaveDespiteFindings);
};
struct CheckedFile {
    std::u16string name;  // the anonymised file
    AnonymisationReport report;
};
CheckSummary summarizeChecks(const std::vector<CheckedFile>& files);

}  // namespace vask
