#include "claims/anonymisation_check.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "claims/anonymise.h"
#include "claims/claims_record.h"
#include "claims/record_layout.h"
#include "core/byte_fields.h"
#include "core/chart_number.h"
#include "core/identifier_search.h"
#include "core/line_hand_off.h"
#include "core/messages.h"
#include "core/pseudonym.h"
#include "core/strconv.h"
#include "core/text.h"
#include "core/textfile.h"
#include "platform/cp932.h"
#include "platform/errors.h"
#include "platform/large_table.h"

namespace vask::claims {
namespace {

// Lines without a record identifier in field 0 are counted together: free text (it may be
// anything, even a name) under one label, blank lines under another.
constexpr std::u16string_view kOtherLines = u"その他";
constexpr std::u16string_view kBlankLines = u"空行";
constexpr std::uint32_t kOtherKey = 0;
constexpr std::uint32_t kBlankKey = 1;  // no identifier packs to 1

std::uint32_t countKey(std::string_view line, RecordId id) {
    if (id.value != 0) return id.value;
    return trimmedBytes(line).empty() ? kBlankKey : kOtherKey;
}

// Whether the check knows what a record holds: under the written profile every record of
// the medical layout; under the pseudonymisation profile only those whose every field the
// layout knows, as the profile itself passes no other.
bool knownRecord(RecordId id, AnonymisationProfile profile) {
    if (profile == AnonymisationProfile::Written) return inMedicalLayout(id);
    const RecordLayout* layout = findRecordLayout(LayoutRevision::Western, id.text());
    return layout != nullptr && layout->fieldsKnown();
}

RecordCount newCount(std::uint32_t key, AnonymisationProfile profile) {
    if (key == kOtherKey) return {std::u16string(kOtherLines), 0, 0, false, false};
    if (key == kBlankKey) return {std::u16string(kBlankLines), 0, 0, false, true};
    const RecordId id{key};
    const RecordKind kind = recordKind(id);
    return {id.text(), 0, 0, kind == RecordKind::SymptomDetails || kind == RecordKind::Comment,
            knownRecord(id, profile)};
}

// The records of both files, counted by identifier in the order they first appear.
class RecordCounter {
public:
    explicit RecordCounter(AnonymisationProfile profile) : profile_(profile) {}
    // Counts the line of `key`; returns its count, whose label names the record.
    const RecordCount& count(std::uint32_t key, bool anonymised) {
        int& slot = slots_[slotOf(key)];
        if (slot < 0) {
            slot = static_cast<int>(keys_.size());
            keys_.push_back(key);
            counts_.push_back(newCount(key, profile_));
        }
        RecordCount& counted = counts_[static_cast<size_t>(slot)];
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
    // Every key has a slot: other lines, blank lines, and the 36 * 36 identifiers of two
    // capital letters or digits.
    static size_t slotOf(std::uint32_t key) {
        if (key <= kBlankKey) return key;
        const auto unit = [](char16_t c) { return static_cast<size_t>(c >= u'A' ? c - u'A' : 26 + (c - u'0')); };
        return 2 + unit(static_cast<char16_t>(key >> 16)) * 36 + unit(static_cast<char16_t>(key & 0xFFFF));
    }

    AnonymisationProfile profile_;
    std::vector<std::uint32_t> keys_;
    std::vector<RecordCount> counts_;
    std::vector<int> slots_ = std::vector<int>(2 + 36 * 36, -1);  // index into counts_, -1 for none yet
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

// The bytes of a record without its double quotes, which leaves the fields to split at
// commas as GetCommaTxt splits them.
std::string_view unquotedBytes(std::string_view line, std::string& scratch) {
    if (line.find('"') == std::string_view::npos) return line;
    scratch.assign(line);
    std::erase(scratch, '"');
    return scratch;
}

// The fields of a record's bytes as GetCommaTxt splits its text (every comma separates,
// every double quote is dropped), as views into the line or into a copy without quotes.
class ByteFieldViews {
public:
    const std::vector<std::string_view>& split(std::string_view line) {
        splitBytes(unquotedBytes(line, unquoted_), ',', fields_);
        return fields_;
    }

private:
    std::string unquoted_;
    std::vector<std::string_view> fields_;
};

// The identifying values of one record of the original, each field decoded alone.
class Collector {
public:
    explicit Collector(IdentifierSearch& search) : search_(search) {}

    void collect(std::string_view line, RecordKind kind) {
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
    // The field's text; empty for a field past the record's end.
    std::u16string_view text(size_t position) {
        value_.clear();
        if (has(position)) cp932::decodeAppend((*fields_)[position], value_);
        return value_;
    }
    void number(size_t position, IdentifierKind kind) {
        if (has(position)) search_.addNumber(kind, text(position));
    }
    void name(size_t position, IdentifierKind kind) {
        if (has(position)) search_.addName(kind, text(position));
    }
    void patientName() {
        constexpr size_t kName = 4;
        if (!has(kName)) return;
        const std::u16string_view name = text(kName);
        if (isDummyPatientName(trimmedView(name))) {
            search_.leaveOutAsDummy(IdentifierKind::PatientName, name);
        } else {
            search_.addName(IdentifierKind::PatientName, name);
        }
    }

    IdentifierSearch& search_;
    ByteFieldViews views_;
    const std::vector<std::string_view>* fields_ = nullptr;
    std::u16string value_;
};

// Hashes paired with hashes (open addressing; hashes of HashedTextSet, never 0): for the
// pairs of original chart numbers and pseudonyms of a large file, without a node each.
class HashPairs {
public:
    // The hash paired with `key`: `value` when the key is new.
    std::uint64_t emplace(std::uint64_t key, std::uint64_t value) {
        if (2 * (size_ + 1) > slots_.size()) grow();
        const size_t mask = slots_.size() - 1;
        size_t slot = static_cast<size_t>(key * 0x9E3779B97F4A7C15u) & mask;
        for (; slots_[slot].first != 0; slot = (slot + 1) & mask) {
            if (slots_[slot].first == key) return slots_[slot].second;
        }
        slots_[slot] = {key, value};
        ++size_;
        return value;
    }

private:
    void grow() {
        const LargeTable<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 1024 : 2 * old.size(), {0, 0});
        size_ = 0;
        for (const auto& [key, value] : old) {
            if (key != 0) emplace(key, value);
        }
    }

    using Slot = std::pair<std::uint64_t, std::uint64_t>;
    LargeTable<Slot> slots_;
    size_t size_ = 0;
};

// What the pseudonymisation profile does, checked by the position of each field, which
// the search for values cannot prove (it skips numbers under four characters): each claim's
// chart number (RE field 13) has the pseudonym's form and differs from the original's, and
// the original numbers and the pseudonyms correspond one to one (equal normalised numbers,
// equal pseudonyms; different ones, different pseudonyms; the claims of both files paired
// in order); no birth or admission date keeps its day; search numbers and every free-text
// field are empty. And no chart number of the original (as written there, and normalised)
// of four characters or more survives as a whole field of text: numbers (数字 and 英数
// fields: counts, points, codes, amounts) are left out, where a short chart number would
// equal a value of a good file by chance.
class PositionCheck {
public:
    // From the original, in file order.
    void collect(std::string_view line, RecordKind kind) {
        if (kind != RecordKind::Clinic && kind != RecordKind::Claim) return;
        const auto& fields = bytes_.split(line);
        constexpr size_t kBillingMonth = 7;
        if (kind == RecordKind::Clinic && fields.size() > kBillingMonth && !sawClinic_) {
            sawClinic_ = true;
            revision_ = revisionOfBillingMonth(cp932::decode(trimmedBytes(fields[kBillingMonth])))
                            .value_or(LayoutRevision::Western);
        }
        if (kind != RecordKind::Claim) return;
        const std::u16string decoded = fields.size() > kChartNumber ? cp932::decode(fields[kChartNumber]) : u"";
        const std::u16string_view chart = trimmedView(decoded);
        const std::u16string normalised = normalisedChartNumber(chart);
        originals_.push_back({hashOf(chart), normalised.empty() ? 0 : hashOf(normalised)});
        addSurvivor(chart);
        addSurvivor(normalised);
    }

    // One record of the anonymised file: the code page 932 bytes of its line without
    // double quotes. The fields are looked at in their order; of the empty ones only those
    // that identify (an empty chart number is paired with the original's too). Each filled
    // field is searched for the original's values too (`search`), but for a claim's chart
    // number: a name part found inside a pseudonym is chance. The line's findings of the
    // search come first in the report, then those by position.
    void check(std::string_view line, std::u16string_view record, size_t number, IdentifierSearch& search,
               AnonymisationReport& report) {
        const RecordId id = recordId(line);
        const bool claim = recordKind(id) == RecordKind::Claim;
        const RecordLayout* layout = layoutOf(id);
        const size_t described = layout == nullptr ? 0 : layout->fields.size();
        lineFindings_.clear();
        size_t next = 1;  // the first field not yet looked at
        // The identifying fields from `next` up to `end`, each empty (layouts have fewer than
        // 64 fields).
        const auto emptyBefore = [&](size_t end) {
            const size_t stop = std::min(end, described);
            if (next < stop) {
                const std::uint64_t below = (std::uint64_t{1} << stop) - 1;
                for (std::uint64_t empty = layout->identifyingMask & below & ~((std::uint64_t{1} << next) - 1);
                     empty != 0; empty &= empty - 1) {
                    const auto i = static_cast<size_t>(std::countr_zero(empty));
                    checkField(layout->fields[i], {}, record, number);
                }
            }
            next = std::max(next, end);
        };
        KindSet found = 0;
        std::uint64_t filled = 0;
        const bool numbersOnly = search.holdsNumbersOnly(line);
        const size_t count = forEachFilledField(line, ',', filled, [&](size_t i, std::string_view value) {
            if (!(claim && i == kChartNumber)) found |= search.findField(value, ',', numbersOnly);
            if (i == 0) return;
            emptyBefore(i);
            next = i + 1;
            const bool inLayout = i < described;
            if (inLayout && ((layout->identifyingMask >> i) & 1)) {
                checkField(layout->fields[i], trimmedBytes(value), record, number);
            }
            if (!inLayout || ((layout->textMask >> i) & 1)) findSurvivor(value, record, number);
        });
        emptyBefore(count);
        if (found != 0) reportSurvivors(found, record, number, report);
        for (Finding& finding : lineFindings_) report.addFinding(std::move(finding));
    }

    // Ends collecting: call once, before check and tally.
    void prepare() {
        survivors_.finish();
        counted_.finish();
        tally_.checked =
            survivors_.gained(static_cast<unsigned>(std::countr_zero(kindBit(IdentifierKind::ChartNumber))));
        tally_.tooShort = counted_.gained(0);
    }
    KindTally tally() const { return tally_; }
    // The fields looked at by position, into `report`, in kind order.
    void countInto(AnonymisationReport& report) const {
        for (size_t k = 0; k < kIdentifierKindCount; ++k) {
            if (looked_[k] > 0) report.positions.push_back({static_cast<IdentifierKind>(k), looked_[k]});
        }
    }

private:
    static constexpr size_t kChartNumber = 13;
    struct Original {
        std::uint64_t chart = 0;       // the hash of the number as written
        std::uint64_t normalised = 0;  // of its normalised form; 0 when that is empty
    };

    static std::uint64_t hashOf(std::u16string_view text) { return HashedTextSet::hashOf(text); }
    static bool isText(FieldMode mode) {
        return mode == FieldMode::Kanji || mode == FieldMode::AlphanumericOrKanji || mode == FieldMode::Unchecked;
    }
    static std::uint64_t widenedHash(std::u16string_view value) {
        HashedTextSet::Hash hash;
        for (size_t k = 0; k < value.size();) hash.add(nextWideUnit(value, k));
        return hash.value();
    }

    // The short ones are counted, once each.
    void addSurvivor(std::u16string_view chart) {
        if (chart.empty()) return;
        if (chart.size() < kShortestNumber) return counted_.add(widenedHash(chart), 1);
        survivors_.add(widenedHash(chart), kindBit(IdentifierKind::ChartNumber));
    }

    // A field of text: decoded only when it could hold a number of kShortestNumber units
    // (a unit is at least one byte).
    void findSurvivor(std::string_view value, std::u16string_view record, size_t number) {
        if (trimmedBytes(value).size() < kShortestNumber) return;
        decoded_.clear();
        cp932::decodeAppend(value, decoded_);
        const std::u16string_view trimmed = trimmedView(decoded_);
        if (trimmed.size() < kShortestNumber || survivors_.find(widenedHash(trimmed)) == 0) return;
        lineFindings_.push_back({Finding::What::Survives, IdentifierKind::ChartNumber, std::u16string(record), number});
    }

    void look(IdentifierKind kind) { ++looked_[static_cast<size_t>(kind)]; }

    void checkField(const FieldLayout& field, std::string_view value, std::u16string_view record, size_t number) {
        const auto add = [&](Finding::What what, IdentifierKind kind) {
            lineFindings_.push_back({what, kind, std::u16string(record), number});
        };
        switch (field.identifies) {
            case Identifies::ChartNumber:
                look(IdentifierKind::ChartNumber);
                if (const auto what = chartFault(cp932::decode(value))) add(*what, IdentifierKind::ChartNumber);
                return;
            case Identifies::BirthDate:
            case Identifies::AdmissionDate: {
                if (value.empty()) return;
                const auto kind = field.identifies == Identifies::BirthDate ? IdentifierKind::BirthDate
                                                                            : IdentifierKind::AdmissionDate;
                look(kind);
                if (!value.ends_with("01")) add(Finding::What::DayKept, kind);
                return;
            }
            case Identifies::SearchNumber:
                look(IdentifierKind::SearchNumber);
                if (!value.empty()) add(Finding::What::FieldFilled, IdentifierKind::SearchNumber);
                return;
            case Identifies::FreeText:
            case Identifies::DiseaseName:
            case Identifies::SymptomDetails:
                look(IdentifierKind::FreeText);
                if (!value.empty()) add(Finding::What::FieldFilled, IdentifierKind::FreeText);
                return;
            default:
                return;
        }
    }

    const RecordLayout* layoutOf(RecordId id) {
        if (id.value != lastId_.value || id.value == 0) {
            lastId_ = id;
            lastLayout_ = id.value == 0 ? nullptr
                                        : findRecordLayout(revision_, static_cast<char>(id.value >> 16),
                                                           static_cast<char>(id.value));
        }
        return lastLayout_;
    }

    // The fault of the next claim's chart number, paired with the original's.
    std::optional<Finding::What> chartFault(std::u16string_view value) {
        if (nextClaim_ >= originals_.size()) return std::nullopt;  // the counts differ: reported there
        const Original original = originals_[nextClaim_++];
        if (original.normalised == 0) {
            if (value.empty()) return std::nullopt;
            return Finding::What::NotPseudonym;
        }
        const std::uint64_t pseudonym = hashOf(value);
        if (!hasPseudonymForm(value) || pseudonym == original.chart) return Finding::What::NotPseudonym;
        if (pseudonymOf_.emplace(original.normalised, pseudonym) != pseudonym ||
            numberOf_.emplace(pseudonym, original.normalised) != original.normalised) {
            return Finding::What::PseudonymsDisagree;
        }
        return std::nullopt;
    }

    ByteFieldViews bytes_;
    std::u16string decoded_;
    std::vector<Finding> lineFindings_;  // the findings by position of the line checked
    RecordId lastId_;
    const RecordLayout* lastLayout_ = nullptr;
    size_t looked_[kIdentifierKindCount] = {};
    bool sawClinic_ = false;
    LayoutRevision revision_ = LayoutRevision::Western;
    std::vector<Original> originals_;
    size_t nextClaim_ = 0;
    HashPairs pseudonymOf_;  // normalised -> pseudonym
    HashPairs numberOf_;     // pseudonym -> normalised
    HashedTextSet survivors_;
    HashedTextSet counted_;  // the short ones, counted once each
    KindTally tally_{IdentifierKind::ChartNumber, 0, 0, 0};
};

}  // namespace

bool holdsClaimsRecord(const std::filesystem::path& file) {
    ShiftJisLineReader reader(file, LineRule::TextFile);
    std::string_view line;
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

// What the check keeps while it is fed the original, and then uses on the anonymised file.
// The lines of the records that hold values are collected on a thread of their own
// (`collecting`, when asked for), while the reader of the original goes on.
struct ClaimsAnonymisationCheck::State {
    State(AnonymisationProfile checked, Collecting where) : profile(checked), counter(checked) {
        if (where == Collecting::OnItsOwnThread) {
            collecting.emplace(
                [this](std::string_view line, std::uint32_t kind) { collect(line, static_cast<RecordKind>(kind)); });
        }
    }

    void collect(std::string_view line, RecordKind kind) {
        collector.collect(line, kind);
        if (profile == AnonymisationProfile::Pseudonym) positions.collect(line, kind);
    }

    AnonymisationProfile profile;
    IdentifierSearch search = claimsSearch();
    Collector collector{search};
    PositionCheck positions;
    RecordCounter counter;
    std::optional<LineHandOff> collecting;
};

ClaimsAnonymisationCheck::ClaimsAnonymisationCheck(AnonymisationProfile profile, Collecting collecting)
    : state_(std::make_unique<State>(profile, collecting)) {}
ClaimsAnonymisationCheck::~ClaimsAnonymisationCheck() = default;

void ClaimsAnonymisationCheck::original(std::string_view line) {
    State& s = *state_;
    const RecordId id = recordId(line);
    s.counter.count(countKey(line, id), false);
    const RecordKind kind = recordKind(id);
    // The records that hold no value the check looks for stay with the reader.
    if (kind == RecordKind::Other || kind == RecordKind::SymptomDetails || kind == RecordKind::Comment) return;
    if (s.collecting) {
        s.collecting->add(line, static_cast<std::uint32_t>(kind));
    } else {
        s.collect(line, kind);
    }
}

AnonymisationReport ClaimsAnonymisationCheck::check(const std::filesystem::path& original,
                                                    const std::filesystem::path& anonymised) {
    State& s = *state_;
    ShiftJisLineReader out(anonymised, LineRule::TextFile);
    if (s.collecting) s.collecting->finish();
    if (!s.counter.originalHeldLayoutRecord()) throw Error(msg::nothingToCheck(original));
    s.search.prepare();
    s.positions.prepare();
    const bool pseudonym = s.profile == AnonymisationProfile::Pseudonym;

    AnonymisationReport report;
    report.fileKind = AnonymisationReport::FileKind::Claims;
    report.profile = s.profile;
    report.sought = {std::begin(kSought), std::end(kSought)};
    if (pseudonym) report.sought.push_back(IdentifierKind::ChartNumber);
    report.kept = pseudonym ? keptByPseudonymProfile(report.fileKind)
                            : std::vector<std::u16string>{std::begin(kKept), std::end(kKept)};
    std::string unquoted;
    std::string_view line;
    for (size_t number = 1; out.next(line); ++number) {
        const RecordId id = recordId(line);
        const RecordCount& counted = s.counter.count(countKey(line, id), true);
        const std::string_view record = unquotedBytes(line, unquoted);
        if (pseudonym) {
            s.positions.check(record, counted.record, number, s.search, report);
            continue;
        }
        const KindSet found = s.search.find(record, ',');
        if (found != 0) reportSurvivors(found, counted.record, number, report);
    }
    report.counts = s.counter.take();
    report.kinds = s.search.tallies();
    if (pseudonym) {
        const KindTally charts = s.positions.tally();
        if (charts.checked + charts.tooShort > 0) report.kinds.push_back(charts);
        s.positions.countInto(report);
    }
    return report;
}

AnonymisationReport checkAnonymisedClaims(const std::filesystem::path& original,
                                          const std::filesystem::path& anonymised, AnonymisationProfile profile) {
    // Both files open first, so that a missing one is reported before the long read.
    ShiftJisLineReader in(original, LineRule::TextFile);
    { ShiftJisLineReader probe(anonymised, LineRule::TextFile); }
    ClaimsAnonymisationCheck check(profile, ClaimsAnonymisationCheck::Collecting::OnCallersThread);
    std::string_view line;
    while (in.next(line)) check.original(line);
    return check.check(original, anonymised);
}

}  // namespace vask::claims
