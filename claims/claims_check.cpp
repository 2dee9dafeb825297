#include "claims/claims_check.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/byte_fields.h"
#include "core/messages.h"
#include "core/text.h"
#include "core/textfile.h"
#include "platform/cp932.h"
#include "platform/errors.h"

namespace vask::claims {
namespace {

using What = ClaimsFinding::What;
using Fields = std::vector<std::string_view>;

// A line whose field 0 is no identifier (two capital letters or digits) may hold free
// text, even a name: such lines are counted and named together under this label.
constexpr std::u16string_view kOtherLines = u"その他";

bool isIdentifierByte(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool allDigits(std::string_view text) { return !text.empty() && std::all_of(text.begin(), text.end(), isDigit); }
// A lead byte of a two-byte character; in valid code page 932 text every other byte that
// starts a character is a one-byte character (ASCII or half-width katakana).
bool isLeadByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The identifier of field 0 as it stands (a quoted one is none), packed; 0 for none.
std::uint32_t identifierKey(std::string_view id) {
    if (id.size() != 2 || !isIdentifierByte(id[0]) || !isIdentifierByte(id[1])) return 0;
    return (std::uint32_t{static_cast<unsigned char>(id[0])} << 8) | static_cast<unsigned char>(id[1]);
}
std::u16string recordLabel(std::string_view id) {
    return identifierKey(id) != 0 ? std::u16string{char16_t(id[0]), char16_t(id[1])} : std::u16string(kOtherLines);
}

// Splits at every comma (a comma is never part of a two-byte character); an empty line is
// one empty field.
void splitAtCommas(std::string_view line, Fields& fields) { splitBytes(line, ',', fields); }

std::optional<std::uint64_t> number(std::string_view text) {
    constexpr size_t kMostDigits = 18;  // far above any total, well below overflow
    if (!allDigits(text) || text.size() > kMostDigits) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) value = value * 10 + static_cast<std::uint64_t>(c - '0');
    return value;
}

// A year and month (YYYYMM) as a number, from the revision's form of it: YYYYMM, or GYYMM
// with G the era code (1 明治, 2 大正, 3 昭和, 4 平成, 5 令和).
std::optional<std::uint64_t> yearMonth(std::string_view text, LayoutRevision revision) {
    const auto value = number(text);
    if (!value) return std::nullopt;
    if (revision == LayoutRevision::Western) return text.size() == 6 ? value : std::nullopt;
    constexpr std::array<std::uint64_t, 6> kEraStart = {0, 1867, 1911, 1925, 1988, 2018};
    const std::uint64_t era = *value / 10000;
    if (text.size() != 5 || era == 0 || era >= kEraStart.size()) return std::nullopt;
    return (kEraStart[era] + *value / 100 % 100) * 100 + *value % 100;
}

// The mode finding of a filled field, if any, from its characters' byte counts.
std::optional<What> modeFault(std::string_view value, FieldMode mode) {
    if (mode == FieldMode::Unchecked) return std::nullopt;
    if (mode == FieldMode::Digits) return allDigits(value) ? std::nullopt : std::optional(What::NotDigits);
    bool anyOne = false;
    bool anyTwo = false;
    for (size_t i = 0; i < value.size(); i += isLeadByte(value[i]) ? 2 : 1) {
        (isLeadByte(value[i]) ? anyTwo : anyOne) = true;
    }
    switch (mode) {
        case FieldMode::Alphanumeric:
            return anyTwo ? std::optional(What::NotOneByte) : std::nullopt;
        case FieldMode::Kanji:
            return anyOne ? std::optional(What::NotTwoByte) : std::nullopt;
        default:  // AlphanumericOrKanji
            return anyOne && anyTwo ? std::optional(What::MixedModes) : std::nullopt;
    }
}

// Records counted by identifier in the order they first appear.
class RecordCounter {
public:
    void count(std::string_view id, std::vector<ClaimsRecordCount>& counts) {
        const std::uint32_t key = identifierKey(id);
        if (last_ >= keys_.size() || keys_[last_] != key) {
            last_ = static_cast<size_t>(std::find(keys_.begin(), keys_.end(), key) - keys_.begin());
            if (last_ == keys_.size()) {
                keys_.push_back(key);
                counts.push_back({recordLabel(id), 0});
            }
        }
        ++counts[last_].count;
    }

private:
    std::vector<std::uint32_t> keys_;
    size_t last_ = 0;
};

class TotalsTracker {
public:
    void clinic(const Fields& fields) {
        firstVolume_ = fields.size() > 8 && fields[8] == "00";
        endClaim();
        claims_ = points_ = 0;
        unread_ = false;
    }
    void claim() {
        endClaim();
        inClaim_ = true;
    }
    void insurer(const Fields& fields) { payer(fields, insurerTotal_); }
    void publicExpense(const Fields& fields) { payer(fields, publicTotal_); }
    void totals(const Fields& fields, size_t line, ClaimsCheckReport& report);

private:
    void payer(const Fields& fields, std::optional<std::optional<std::uint64_t>>& total) {
        if (!inClaim_) return;
        ++claims_;
        constexpr size_t kTotal = 5;
        if (!total) total = fields.size() > kTotal ? number(fields[kTotal]) : std::nullopt;
    }
    void endClaim() {
        if (inClaim_) {
            const auto& main = insurerTotal_ ? insurerTotal_ : publicTotal_;
            if (main && *main) points_ += **main;
            if (!main || !*main) unread_ = true;
        }
        inClaim_ = false;
        insurerTotal_.reset();
        publicTotal_.reset();
    }

    bool firstVolume_ = false;
    bool inClaim_ = false;
    // Per claim: the first total of its kind, read (a number) or not (nothing inside).
    std::optional<std::optional<std::uint64_t>> insurerTotal_;
    std::optional<std::optional<std::uint64_t>> publicTotal_;
    std::uint64_t claims_ = 0;
    std::uint64_t points_ = 0;
    bool unread_ = false;
};

void TotalsTracker::totals(const Fields& fields, size_t line, ClaimsCheckReport& report) {
    endClaim();
    const bool lastVolume = fields.size() > 3 && fields[3] == "99";
    if (!lastVolume || !firstVolume_) {
        report.totals = lastVolume ? TotalsCheck::LaterVolume : TotalsCheck::NotLastVolume;
        return;
    }
    report.totals = TotalsCheck::Matched;
    const auto compare = [&](size_t position, std::u16string_view name, What what, std::uint64_t counted) {
        const auto stated = fields.size() > position ? number(fields[position]) : std::nullopt;
        if (stated == counted) return;
        report.totals = TotalsCheck::Differed;
        report.addFinding({what, u"GO", std::u16string(name), line, static_cast<size_t>(counted), 0, 0});
    };
    compare(1, u"総件数", What::TotalClaims, claims_);
    if (unread_) {
        report.pointsUnread = true;
    } else {
        compare(2, u"総合計点数", What::TotalPoints, points_);
    }
    claims_ = points_ = 0;
    unread_ = false;
}

}  // namespace

// --- One record's shape: its identifier, field count, modes, lengths and quotes.

const std::vector<ClaimsFinding>& ClaimsRecordCheck::check(std::string_view line, size_t number) {
    findings_.clear();
    line_ = line;
    split_ = false;
    id_ = line.substr(0, line.find(','));
    layout_ = layoutOf(id_);
    quoted_ = line.find('"') != std::string_view::npos;
    if (layout_ == nullptr) {
        add({What::UnknownRecord, recordLabel(id_), {}, number, 0, 0, 0});
    } else if (layout_->described()) {
        checkFields(*layout_, number);
    }
    if (quoted_) checkQuotes(layout_, recordLabel(id_), number);
    return findings_;
}

const std::vector<std::string_view>& ClaimsRecordCheck::fields() {
    if (!split_) splitAtCommas(line_, fields_);
    split_ = true;
    return fields_;
}

const RecordLayout* ClaimsRecordCheck::layoutOf(std::string_view id) const {
    return id.size() == 2 ? findRecordLayout(revision_, id[0], id[1]) : nullptr;
}

// Every field in one pass over the line; the field count, found at its end, is the first
// finding of the record.
void ClaimsRecordCheck::checkFields(const RecordLayout& layout, size_t line) {
    const size_t described = layout.shapes.size();
    std::uint64_t filled = 0;
    const size_t count = forEachFilledField(line_, ',', filled, [&](size_t i, std::string_view value) {
        if (i > 0 && i < described) checkField(layout, i, value, line);
    });
    // The required fields that are empty, in field order (the layout's fields number fewer
    // than 64).
    const std::uint64_t present = count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
    if (const std::uint64_t empty = layout.requiredMask & present & ~filled; empty != 0)
        emptyRequired(layout, empty, line);
    if (!layout.fieldCountFits(count)) {
        findings_.insert(
            findings_.begin(),
            {What::FieldCount, std::u16string(layout.id), {}, line, layout.fields.size(), layout.fewestFields, count});
    }
}

// The findings of the required fields of `empty`, put among the record's other findings
// in field order.
void ClaimsRecordCheck::emptyRequired(const RecordLayout& layout, std::uint64_t empty, size_t line) {
    for (; empty != 0; empty &= empty - 1) {
        const auto i = static_cast<size_t>(std::countr_zero(empty));
        ClaimsFinding finding{What::Empty, std::u16string(layout.id), layout.fields[i].name, line, 0, 0, 0};
        // A finding names its field; the ones before it belong to fields before it.
        auto at = findings_.begin();
        while (at != findings_.end() && fieldIndex(layout, at->field) < i) ++at;
        findings_.insert(at, std::move(finding));
    }
}

size_t ClaimsRecordCheck::fieldIndex(const RecordLayout& layout, const std::u16string& name) {
    for (size_t i = 0; i < layout.fields.size(); ++i) {
        if (layout.fields[i].name == name) return i;
    }
    return layout.fields.size();
}

// A field with a double quote gets that finding and no other: the quote is the fault.
void ClaimsRecordCheck::checkQuotes(const RecordLayout* layout, const std::u16string& label, size_t line) {
    const auto& all = fields();
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i].find('"') == std::string_view::npos) continue;
        const bool named = layout != nullptr && i < layout->fields.size();
        // Unnamed fields are numbered from 1, as the layout numbers its items.
        std::u16string field = named ? layout->fields[i].name : u"項目" + fromAscii(std::to_string(i + 1));
        add({What::DoubleQuote, label, std::move(field), line, 0, 0, 0});
    }
}

// A filled field.
void ClaimsRecordCheck::checkField(const RecordLayout& layout, size_t position, std::string_view value, size_t line) {
    const FieldShape shape = layout.shapes[position];
    if (quoted_ && value.find('"') != std::string_view::npos) return;  // checkQuotes reports it
    if (const auto fault = modeFault(value, shape.mode)) {
        add({*fault, std::u16string(layout.id), layout.fields[position].name, line, 0, 0, 0});
    }
    if (shape.bytes == 0) return;
    // In valid code page 932 text the length in bytes is the layout's length.
    const size_t bytes = value.size();
    if (shape.fixedLength ? bytes != shape.bytes : bytes > shape.bytes) {
        add({shape.fixedLength ? What::WrongLength : What::TooLong, std::u16string(layout.id),
             layout.fields[position].name, line, shape.bytes, 0, 0});
    }
}

namespace {

// The whole file: every record's shape, and what the records mean beyond their own fields
// (the billing month, the claims and the totals).
class FileCheck {
public:
    explicit FileCheck(LayoutRevision revision) : shape_(revision) { report_.revision = revision; }

    void record(std::string_view line, size_t number) {
        for (const auto& finding : shape_.check(line, number)) report_.addFinding(finding);
        const std::string_view id = shape_.id();
        counter_.count(id, report_.counts);
        if (shape_.layout() != nullptr && followed(id)) follow(shape_.fields(), number);
    }

    ClaimsCheckReport finish() {
        if (!sawTotals_) report_.addFinding({What::NoTotalsRecord, u"GO", {}, 0, 0, 0, 0});
        return std::move(report_);
    }

private:
    static bool followed(std::string_view id) {
        return id == "IR" || id == "RE" || id == "HO" || id == "KO" || id == "GO";
    }
    void follow(const Fields& fields, size_t line) {
        constexpr size_t kBillingMonth = 7;
        constexpr size_t kTreatmentMonth = 3;
        const std::string_view id = fields[0];
        if (id == "IR") {
            billingMonth_ =
                fields.size() > kBillingMonth ? yearMonth(fields[kBillingMonth], report_.revision) : std::nullopt;
            totals_.clinic(fields);
        } else if (id == "RE") {
            totals_.claim();
            const auto month =
                fields.size() > kTreatmentMonth ? yearMonth(fields[kTreatmentMonth], report_.revision) : std::nullopt;
            if (month && billingMonth_ && *month > *billingMonth_) {
                report_.addFinding({What::MonthAfterBilling, u"RE", u"診療年月", line, 0, 0, 0});
            }
        } else if (id == "HO") {
            totals_.insurer(fields);
        } else if (id == "KO") {
            totals_.publicExpense(fields);
        } else if (id == "GO") {
            sawTotals_ = true;
            totals_.totals(fields, line, report_);
        }
    }

    ClaimsRecordCheck shape_;
    ClaimsCheckReport report_;
    RecordCounter counter_;
    TotalsTracker totals_;
    std::optional<std::uint64_t> billingMonth_;
    bool sawTotals_ = false;
};

std::string_view fieldAt(std::string_view line, size_t position) {
    Fields fields;
    splitAtCommas(line, fields);
    return position < fields.size() ? fields[position] : std::string_view();
}

}  // namespace

void ClaimsCheckReport::addFinding(ClaimsFinding finding) {
    ++findingCount;
    if (findings.size() < kListedFindings) findings.push_back(std::move(finding));
}

std::optional<LayoutRevision> revisionOfClinicRecord(std::string_view line) {
    constexpr size_t kBillingMonth = 7;
    if (fieldAt(line, 0) != "IR") return std::nullopt;
    return revisionOfBillingMonth(cp932::decode(trimmedBytes(fieldAt(line, kBillingMonth))))
        .value_or(LayoutRevision::Western);
}

ClaimsCheckReport checkClaimsFile(const std::filesystem::path& file) {
    ShiftJisLineReader reader(file, LineRule::TextFile);
    std::string_view line;
    const auto revision = reader.next(line) ? revisionOfClinicRecord(line) : std::nullopt;
    if (!revision) throw Error(std::u16string(msg::kNoClinicRecordFirst));
    FileCheck check(*revision);
    size_t number = 1;
    check.record(line, number);
    while (reader.next(line)) check.record(line, ++number);
    return check.finish();
}

}  // namespace vask::claims
