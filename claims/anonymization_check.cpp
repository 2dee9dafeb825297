#include "claims/anonymization_check.h"

#include <algorithm>
#include <string>
#include <vector>

#include "claims/anonymize.h"
#include "claims/claims_record.h"
#include "core/identifier_search.h"
#include "core/text.h"
#include "core/textfile.h"

namespace vask::claims {
namespace {

// Field 0 of a line that is no record identifier (two capital letters or digits) may be
// free text, even a name: the report counts such lines together under this label.
constexpr std::u16string_view kOtherLines = u"その他";

bool isIdentifierUnit(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'); }

// Field 0 as GetCommaTxt gives it (double quotes dropped), when it is a record identifier.
std::u16string recordLabel(std::u16string_view line) {
    std::u16string id;
    for (char16_t c : line) {
        if (c == u',') break;
        if (c == u'"') continue;
        if (id.size() == 2 || !isIdentifierUnit(c)) return std::u16string(kOtherLines);
        id.push_back(c);
    }
    return id.size() == 2 ? id : std::u16string(kOtherLines);
}

// The records of both files, counted by identifier in the order they first appear.
class RecordCounter {
public:
    void count(const std::u16string& label, bool anonymised) {
        if (last_ >= counts_.size() || counts_[last_].record != label) {
            const auto it = std::find_if(counts_.begin(), counts_.end(),
                                         [&label](const RecordCount& c) { return c.record == label; });
            last_ = static_cast<size_t>(it - counts_.begin());
            if (it == counts_.end()) counts_.push_back({label, 0, 0, label == u"SJ" || label == u"CO"});
        }
        ++(anonymised ? counts_[last_].anonymised : counts_[last_].original);
    }
    std::vector<RecordCount> take() { return std::move(counts_); }

private:
    std::vector<RecordCount> counts_;
    size_t last_ = 0;
};

// テスト + 社 or 国 + full-width digits: the name the anonymiser gave an already
// anonymised file.
bool isDummyPatientName(std::u16string_view name) {
    const std::u16string_view prefix = dummy::kPatientNamePrefix;
    if (!name.starts_with(prefix) || name.size() == prefix.size()) return false;
    const char16_t kind = name[prefix.size()];
    const auto number = name.substr(prefix.size() + 1);
    return (kind == u'社' || kind == u'国') &&
           std::all_of(number.begin(), number.end(), [](char16_t c) { return c >= u'０' && c <= u'９'; });
}

IdentifierSearch claimsSearch() {
    return IdentifierSearch({dummy::kClinicCode, dummy::kClinicName, dummy::kTelephone, dummy::kInsurerNumber,
                             dummy::kCardNumber, dummy::kBranchNumber, dummy::kPayerNumber, dummy::kRecipientNumber,
                             u"テスト社", u"テスト国"});
}

// The identifying values of one record of the original.
class Collector {
public:
    explicit Collector(IdentifierSearch& search) : search_(search) {}

    void collect(std::u16string_view line) {
        const RecordKind kind = recordKind(line);
        if (kind == RecordKind::Other || kind == RecordKind::SymptomDetails || kind == RecordKind::Comment) return;
        record_.split(line);
        using K = IdentifierKind;
        switch (kind) {
            case RecordKind::Clinic:
                number(4, K::ClinicCode);
                name(6, K::ClinicName);
                number(9, K::Telephone);
                break;
            case RecordKind::Claim:
                patientName();
                name(36, K::KanaName);
                break;
            case RecordKind::Insurer:
                number(1, K::InsurerNumber);
                number(2, K::CardSymbol);
                number(3, K::CardNumber);
                break;
            case RecordKind::PublicExpense:
                number(1, K::PayerNumber);
                number(2, K::RecipientNumber);
                break;
            default:  // SN; its field 6, the two-digit branch number, would match any digit field
                number(3, K::InsurerNumber);
                number(4, K::CardSymbol);
                number(5, K::CardNumber);
                number(7, K::RecipientNumber);
                break;
        }
    }

private:
    void number(size_t position, IdentifierKind kind) {
        if (record_.has(position)) search_.addNumber(kind, record_.at(position));
    }
    void name(size_t position, IdentifierKind kind) {
        if (record_.has(position)) search_.addName(kind, record_.at(position));
    }
    void patientName() {
        constexpr size_t kName = 4;
        if (!record_.has(kName)) return;
        if (isDummyPatientName(trimmedView(record_.at(kName)))) {
            search_.leaveOutAsDummy(IdentifierKind::PatientName, record_.at(kName));
        } else {
            search_.addName(IdentifierKind::PatientName, record_.at(kName));
        }
    }

    IdentifierSearch& search_;
    Record record_;
};

}  // namespace

bool beginsWithClinicRecord(const std::filesystem::path& file) {
    Cp932LineReader reader(file, LineRule::TextFile, Cp932Input::ShiftJisText);
    std::u16string line;
    return reader.next(line) && recordKind(line) == RecordKind::Clinic;
}

AnonymisationReport checkAnonymisedClaims(const std::filesystem::path& original,
                                          const std::filesystem::path& anonymised) {
    // Both files open first, so that a missing one is reported before the long read.
    Cp932LineReader in(original, LineRule::TextFile, Cp932Input::ShiftJisText);
    Cp932LineReader out(anonymised, LineRule::TextFile, Cp932Input::ShiftJisText);
    IdentifierSearch search = claimsSearch();
    Collector collector(search);
    RecordCounter counter;
    std::u16string line;
    while (in.next(line)) {
        counter.count(recordLabel(line), false);
        collector.collect(line);
    }
    search.prepare();

    AnonymisationReport report;
    report.fileKind = AnonymisationReport::FileKind::Claims;
    Record record;
    for (size_t number = 1; out.next(line); ++number) {
        const std::u16string label = recordLabel(line);
        counter.count(label, true);
        record.split(line);
        KindSet found = 0;
        for (size_t i = 0; i < record.size(); ++i) found |= search.find(record.at(i));
        reportSurvivors(found, label, number, report);
    }
    report.counts = counter.take();
    report.kinds = search.tallies();
    return report;
}

}  // namespace vask::claims
