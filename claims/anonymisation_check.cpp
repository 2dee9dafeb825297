#include "claims/anonymisation_check.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "claims/anonymise.h"
#include "claims/claims_record.h"
#include "core/identifier_search.h"
#include "core/messages.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "platform/errors.h"

namespace vask::claims {
namespace {

// Lines without a record identifier in field 0 are counted together: free text (it may be
// anything, even a name) under one label, blank lines under another.
constexpr std::u16string_view kOtherLines = u"その他";
constexpr std::u16string_view kBlankLines = u"空行";
constexpr std::uint32_t kOtherKey = 0;
constexpr std::uint32_t kBlankKey = 1;  // no identifier packs to 1

std::uint32_t countKey(std::u16string_view line) {
    const RecordId id = recordId(line);
    if (id.value != 0) return id.value;
    return isBlank(line) ? kBlankKey : kOtherKey;
}

RecordCount newCount(std::uint32_t key) {
    if (key == kOtherKey) return {std::u16string(kOtherLines), 0, 0, false, false};
    if (key == kBlankKey) return {std::u16string(kBlankLines), 0, 0, false, true};
    const RecordId id{key};
    const RecordKind kind = recordKind(id);
    return {id.text(), 0, 0, kind == RecordKind::SymptomDetails || kind == RecordKind::Comment, inMedicalLayout(id)};
}

// The records of both files, counted by identifier in the order they first appear.
class RecordCounter {
public:
    // Counts the line of `key`; returns its count, whose label names the record.
    const RecordCount& count(std::uint32_t key, bool anonymised) {
        if (last_ >= keys_.size() || keys_[last_] != key) {
            last_ = static_cast<size_t>(std::find(keys_.begin(), keys_.end(), key) - keys_.begin());
            if (last_ == keys_.size()) {
                keys_.push_back(key);
                counts_.push_back(newCount(key));
            }
        }
        RecordCount& counted = counts_[last_];
        ++(anonymised ? counted.anonymised : counted.original);
        return counted;
    }
    // Whether the original held a record of the medical claims layout.
    bool originalHeldLayoutRecord() const {
        for (size_t i = 0; i < keys_.size(); ++i) {
            if (keys_[i] > kBlankKey && counts_[i].known && counts_[i].original > 0) return true;
        }
        return false;
    }
    std::vector<RecordCount> take() { return std::move(counts_); }

private:
    std::vector<std::uint32_t> keys_;
    std::vector<RecordCount> counts_;
    size_t last_ = 0;
};

// The fields of a record as GetCommaTxt splits it (every comma separates, every double
// quote is dropped), as views into the line, or into a copy without its double quotes.
class FieldViews {
public:
    // The line without its double quotes, which leaves the fields to split at commas.
    std::u16string_view unquoted(std::u16string_view line) {
        if (line.find(u'"') == std::u16string_view::npos) return line;
        unquoted_.assign(line);
        std::erase(unquoted_, u'"');
        return unquoted_;
    }
    const std::vector<std::u16string_view>& split(std::u16string_view line) {
        splitOn(unquoted(line), u',', fields_);
        if (fields_.empty()) fields_.emplace_back();  // an empty line is one empty field
        return fields_;
    }

private:
    std::u16string unquoted_;
    std::vector<std::u16string_view> fields_;
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

// What the check looks for: every kind of value the anonymiser replaces.
constexpr IdentifierKind kSought[] = {
    IdentifierKind::ClinicCode,      IdentifierKind::ClinicName, IdentifierKind::Telephone,
    IdentifierKind::PatientName,     IdentifierKind::KanaName,   IdentifierKind::InsurerNumber,
    IdentifierKind::CardSymbol,      IdentifierKind::CardNumber, IdentifierKind::PayerNumber,
    IdentifierKind::RecipientNumber,
};
// What the anonymiser keeps on purpose (RE 6 and 13, RE 18, the texts of SY, SI, IY, TO).
constexpr std::u16string_view kKept[] = {u"生年月日", u"カルテ番号", u"検索番号",
                                         u"傷病名や診療行為などの記録の自由記載の文字"};

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
        fields_ = &views_.split(line);
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
    bool has(size_t position) const { return position < fields_->size(); }
    void number(size_t position, IdentifierKind kind) {
        if (has(position)) search_.addNumber(kind, (*fields_)[position]);
    }
    void name(size_t position, IdentifierKind kind) {
        if (has(position)) search_.addName(kind, (*fields_)[position]);
    }
    void patientName() {
        constexpr size_t kName = 4;
        if (!has(kName)) return;
        const std::u16string_view name = (*fields_)[kName];
        if (isDummyPatientName(trimmedView(name))) {
            search_.leaveOutAsDummy(IdentifierKind::PatientName, name);
        } else {
            search_.addName(IdentifierKind::PatientName, name);
        }
    }

    IdentifierSearch& search_;
    FieldViews views_;
    const std::vector<std::u16string_view>* fields_ = nullptr;
};

}  // namespace

bool holdsClaimsRecord(const std::filesystem::path& file) {
    Cp932LineReader reader(file, LineRule::TextFile, Cp932Input::ShiftJisText);
    std::u16string line;
    while (reader.next(line)) {
        switch (recordKind(line)) {
            case RecordKind::Clinic:
            case RecordKind::Claim:
            case RecordKind::Insurer:
            case RecordKind::PublicExpense:
            case RecordKind::Qualification:
                return true;
            default:
                break;
        }
    }
    return false;
}

AnonymisationReport checkAnonymisedClaims(const std::filesystem::path& original,
                                          const std::filesystem::path& anonymised, AnonymisationProfile profile) {
    if (profile != AnonymisationProfile::Written)
        throw Error(u"the check of the pseudonymisation profile is being built");
    // Both files open first, so that a missing one is reported before the long read.
    Cp932LineReader in(original, LineRule::TextFile, Cp932Input::ShiftJisText);
    Cp932LineReader out(anonymised, LineRule::TextFile, Cp932Input::ShiftJisText);
    IdentifierSearch search = claimsSearch();
    Collector collector(search);
    RecordCounter counter;
    std::u16string line;
    while (in.next(line)) {
        counter.count(countKey(line), false);
        collector.collect(line);
    }
    if (!counter.originalHeldLayoutRecord()) throw Error(msg::nothingToCheck(original));
    search.prepare();

    AnonymisationReport report;
    report.fileKind = AnonymisationReport::FileKind::Claims;
    report.sought = {std::begin(kSought), std::end(kSought)};
    report.kept = {std::begin(kKept), std::end(kKept)};
    FieldViews fields;
    for (size_t number = 1; out.next(line); ++number) {
        const RecordCount& counted = counter.count(countKey(line), true);
        const KindSet found = search.find(fields.unquoted(line), u',');
        if (found != 0) reportSurvivors(found, counted.record, number, report);
    }
    report.counts = counter.take();
    report.kinds = search.tallies();
    return report;
}

}  // namespace vask::claims
