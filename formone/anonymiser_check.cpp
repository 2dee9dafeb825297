#include "formone/anonymiser_check.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/chart_number.h"
#include "core/identifier_search.h"
#include "core/messages.h"
#include "core/pseudonym.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "formone/anonymiser.h"
#include "platform/errors.h"

namespace vask::formone {
namespace {

// What the written profile keeps: every field of a record line but the name.
constexpr std::u16string_view kKept[] = {u"カルテ番号", u"郵便番号", u"患者氏名のほかのすべての列"};

// Where the pseudonymisation profile's check looks for the original's chart numbers as
// whole fields. A form-1 record is mostly numbers: measurements, laboratory values, counts,
// dates and codes, and a chart number such as 1234 equals such a value on a perfectly good
// file. So the search leaves out:
// - the fields the check proves by position: the chart number, the name, the postal code;
// - the items the form-1 layout names as numbers, codes or dates (year-month 3, the
//   measurements and codes 6 to 87 but the four disease names, the dates 138 and 140);
// and in the fields whose content the layout does not name (2, 4, 88 to 137, 139, 141 and
// later, which may hold more of the same) it leaves out a value of digits alone that does
// not begin with 0, which is what a count or a measurement looks like there.
// It looks at the disease names (18, 59, 73, 87) for every chart number, and at the
// unnamed fields for chart numbers with a leading zero, a letter or a branch mark.
enum class Search { None, Every, Distinctive };

constexpr size_t kLastLayoutNumber = 87;
constexpr size_t kDiseaseNames[] = {18, 59, 73, 87};
constexpr size_t kLaterLayoutNumbers[] = {138, 140};

Search searchAt(size_t position) {
    if (position <= kPostalCodeField) {
        return position == 2 || position == 4 ? Search::Distinctive : Search::None;
    }
    for (const size_t name : kDiseaseNames) {
        if (position == name) return Search::Every;
    }
    if (position <= kLastLayoutNumber) return Search::None;
    for (const size_t number : kLaterLayoutNumbers) {
        if (position == number) return Search::None;
    }
    return Search::Distinctive;
}

bool isDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９'); }

// A value that reads as a count or a measurement: digits alone, the first no zero.
bool looksLikeMeasurement(std::u16string_view field) {
    const std::u16string_view value = trimmedView(field);
    if (value.empty() || value.front() == u'0' || value.front() == u'０') return false;
    for (const char16_t c : value) {
        if (!isDigit(c)) return false;
    }
    return true;
}

// What the pseudonymisation profile does, checked by position on the lines of the
// anonymised file paired in order with those of the original: the chart number became a
// pseudonym (one per patient, none shared), the name is empty, the postal code keeps no
// digit but its first three; and no chart number of the original stands as a whole field
// where the search above looks.
class PseudonymCheck {
public:
    explicit PseudonymCheck(const std::filesystem::path& original)
        : paired_(original, LineRule::AnyBreak, Cp932Input::ShiftJisText) {}

    void collect(const std::vector<std::u16string_view>& fields) {
        if (fields.size() > kNameField) chartNumbers_.addNumber(IdentifierKind::ChartNumber, fields[kChartNumberField]);
    }
    void prepare() { chartNumbers_.prepare(); }
    // Steps over the original's header, which pairs with the anonymised file's.
    void header() { paired_.next(originalLine_); }
    // Line `number` of the anonymised file, split into `fields`.
    void record(size_t number, const std::vector<std::u16string_view>& fields, AnonymisationReport& report);
    std::vector<KindTally> tallies() const { return chartNumbers_.tallies(); }

private:
    void checkChartNumber(size_t number, std::u16string_view original, std::u16string_view anonymised,
                          AnonymisationReport& report);
    void searchChartNumbers(size_t number, const std::vector<std::u16string_view>& fields, AnonymisationReport& report);

    Cp932LineReader paired_;
    std::u16string originalLine_;
    std::vector<std::u16string_view> originalFields_;
    IdentifierSearch chartNumbers_;
    std::unordered_map<std::u16string, std::u16string> pseudonymOf_;  // normalised number -> pseudonym
    std::unordered_map<std::u16string, std::u16string> numberOf_;     // pseudonym -> normalised number
};

void PseudonymCheck::record(size_t number, const std::vector<std::u16string_view>& fields,
                            AnonymisationReport& report) {
    searchChartNumbers(number, fields, report);
    // A line the original lacks is told by the line counts; a line without a tab is copied.
    if (!paired_.next(originalLine_)) return;
    splitTabs(originalLine_, originalFields_);
    if (originalFields_.size() <= kNameField) return;
    // The name field's content is reported for every line by the written profile's check.
    countPosition(IdentifierKind::PatientName, report);
    checkChartNumber(number, originalFields_[kChartNumberField],
                     fields.empty() ? std::u16string_view() : fields[kChartNumberField], report);
    if (fields.size() > kPostalCodeField) {
        countPosition(IdentifierKind::PostalCode, report);
        const std::u16string_view postalCode = fields[kPostalCodeField];
        if (maskedPostalCode(postalCode) != postalCode) {
            report.addFinding({Finding::What::PostalCodeKept, IdentifierKind::PostalCode, u"", number});
        }
    }
}

// A chart number that normalises to nothing stays empty; any other becomes a pseudonym
// that is not the number itself, the same for every line of one number and of no other.
void PseudonymCheck::checkChartNumber(size_t number, std::u16string_view original, std::u16string_view anonymised,
                                      AnonymisationReport& report) {
    countPosition(IdentifierKind::ChartNumber, report);
    const std::u16string normalised = normalisedChartNumber(original);
    const bool pseudonym = normalised.empty() ? anonymised.empty()
                                              : hasPseudonymForm(anonymised) && anonymised != trimmedView(original) &&
                                                    anonymised != normalised;
    if (!pseudonym) {
        report.addFinding({Finding::What::NotPseudonym, IdentifierKind::ChartNumber, u"", number});
        return;
    }
    if (normalised.empty()) return;
    const auto byNumber = pseudonymOf_.try_emplace(normalised, anonymised).first;
    const auto byPseudonym = numberOf_.try_emplace(std::u16string(anonymised), normalised).first;
    if (byNumber->second != anonymised || byPseudonym->second != normalised) {
        report.addFinding({Finding::What::PseudonymsDisagree, IdentifierKind::ChartNumber, u"", number});
    }
}

void PseudonymCheck::searchChartNumbers(size_t number, const std::vector<std::u16string_view>& fields,
                                        AnonymisationReport& report) {
    KindSet found = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        const Search search = searchAt(i);
        if (search == Search::None || (search == Search::Distinctive && looksLikeMeasurement(fields[i]))) continue;
        found |= chartNumbers_.find(fields[i], u'\t');
    }
    reportSurvivors(found, u"", number, report);
}

}  // namespace

AnonymisationReport checkAnonymisedFormOne(const std::filesystem::path& original,
                                           const std::filesystem::path& anonymised, AnonymisationProfile profile) {
    // Both files open first, so that a missing one is reported before the long read.
    Cp932LineReader in(original, LineRule::AnyBreak, Cp932Input::ShiftJisText);
    Cp932LineReader out(anonymised, LineRule::AnyBreak, Cp932Input::ShiftJisText);
    std::optional<PseudonymCheck> pseudonyms;
    if (profile == AnonymisationProfile::Pseudonym) pseudonyms.emplace(original);
    IdentifierSearch search;
    RecordCount lines;
    std::u16string line;
    std::vector<std::u16string_view> fields;
    while (in.next(line)) {
        if (++lines.original == 1) continue;
        splitTabs(line, fields);
        if (fields.size() > kNameField) search.addName(IdentifierKind::PatientName, fields[kNameField]);
        if (pseudonyms) pseudonyms->collect(fields);
    }
    if (lines.original < 2) throw Error(msg::nothingToCheck(original));
    search.prepare();

    AnonymisationReport report;
    report.fileKind = AnonymisationReport::FileKind::FormOne;
    report.profile = profile;
    report.sought = {IdentifierKind::PatientName};
    report.kept = {std::begin(kKept), std::end(kKept)};
    if (pseudonyms) {
        pseudonyms->prepare();
        report.sought.push_back(IdentifierKind::ChartNumber);
        report.kept = keptByPseudonymProfile(report.fileKind);
    }
    while (out.next(line)) {
        const size_t number = ++lines.anonymised;
        if (number == 1) {
            if (pseudonyms) pseudonyms->header();
            continue;
        }
        splitTabs(line, fields);
        if (fields.size() > kNameField && !fields[kNameField].empty()) {
            report.addFinding({Finding::What::FieldFilled, IdentifierKind::PatientName, u"", number});
        }
        reportSurvivors(search.find(line, u'\t'), u"", number, report);
        if (pseudonyms) pseudonyms->record(number, fields, report);
    }
    report.counts.push_back(lines);
    report.kinds = search.tallies();
    if (pseudonyms) {
        const auto chartNumbers = pseudonyms->tallies();
        report.kinds.insert(report.kinds.end(), chartNumbers.begin(), chartNumbers.end());
    }
    return report;
}

}  // namespace vask::formone
