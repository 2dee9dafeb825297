#include "claims/claims_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/messages.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "platform/errors.h"

namespace vask::claims {
namespace {

using What = ClaimsFinding::What;
using Fields = std::vector<std::u16string_view>;

// A line whose field 0 is no identifier (two capital letters or digits) may hold free
// text, even a name: such lines are counted and named together under this label.
constexpr std::u16string_view kOtherLines = u"その他";

bool isIdentifierUnit(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'); }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isOneByte(char16_t c) { return c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F); }
bool allDigits(std::u16string_view text) { return !text.empty() && std::all_of(text.begin(), text.end(), isDigit); }

std::u16string_view recordLabel(std::u16string_view id) {
    return id.size() == 2 && isIdentifierUnit(id[0]) && isIdentifierUnit(id[1]) ? id : kOtherLines;
}

std::optional<std::uint64_t> number(std::u16string_view text) {
    constexpr size_t kMostDigits = 18;  // far above any total, well below overflow
    if (!allDigits(text) || text.size() > kMostDigits) return std::nullopt;
    std::uint64_t value = 0;
    for (const char16_t c : text) value = value * 10 + static_cast<std::uint64_t>(c - u'0');
    return value;
}

// A year and month (YYYYMM) as a number, from the revision's form of it: YYYYMM, or GYYMM
// with G the era code (1 明治, 2 大正, 3 昭和, 4 平成, 5 令和).
std::optional<std::uint64_t> yearMonth(std::u16string_view text, LayoutRevision revision) {
    const auto value = number(text);
    if (!value) return std::nullopt;
    if (revision == LayoutRevision::Western) return text.size() == 6 ? value : std::nullopt;
    constexpr std::array<std::uint64_t, 6> kEraStart = {0, 1867, 1911, 1925, 1988, 2018};
    const std::uint64_t era = *value / 10000;
    if (text.size() != 5 || era == 0 || era >= kEraStart.size()) return std::nullopt;
    return (kEraStart[era] + *value / 100 % 100) * 100 + *value % 100;
}

// The mode finding of a filled field, if any.
std::optional<What> modeFault(std::u16string_view value, FieldMode mode) {
    switch (mode) {
        case FieldMode::Digits:
            return allDigits(value) ? std::nullopt : std::optional(What::NotDigits);
        case FieldMode::Alphanumeric:
            return std::all_of(value.begin(), value.end(), isOneByte) ? std::nullopt : std::optional(What::NotOneByte);
        case FieldMode::Kanji:
            return std::none_of(value.begin(), value.end(), isOneByte) ? std::nullopt : std::optional(What::NotTwoByte);
        case FieldMode::AlphanumericOrKanji: {
            const bool anyOne = std::any_of(value.begin(), value.end(), isOneByte);
            const bool allOne = std::all_of(value.begin(), value.end(), isOneByte);
            return anyOne && !allOne ? std::optional(What::MixedModes) : std::nullopt;
        }
        case FieldMode::Unchecked:
            break;
    }
    return std::nullopt;
}

// Records counted by identifier in the order they first appear.
class RecordCounter {
public:
    void count(std::u16string_view label, std::vector<ClaimsRecordCount>& counts) {
        if (last_ >= counts.size() || counts[last_].record != label) {
            const auto it = std::find_if(counts.begin(), counts.end(),
                                         [&](const ClaimsRecordCount& c) { return c.record == label; });
            last_ = static_cast<size_t>(it - counts.begin());
            if (it == counts.end()) counts.push_back({std::u16string(label), 0});
        }
        ++counts[last_].count;
    }

private:
    size_t last_ = 0;
};

// The GO record's totals as the layout defines them: 総件数 counts every claim once for
// its insurance (HO) and once for each public expense (KO), so that a claim of insurance
// and one public expense counts twice; 総合計点数 adds up each claim's main total, the HO
// record's 合計点数, or the first KO record's when the claim has no HO. Both are left out
// on every volume but the last (GO field 3 "99"), and there they count every volume of
// the clinic: only a file that is the one volume (IR field 8 "00") can be checked alone.
class TotalsTracker {
public:
    void clinic(const Fields& fields) {
        firstVolume_ = fields.size() > 8 && fields[8] == u"00";
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
    const bool lastVolume = fields.size() > 3 && fields[3] == u"99";
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

class FileCheck {
public:
    explicit FileCheck(LayoutRevision revision) { report_.revision = revision; }

    void record(std::u16string_view line, size_t number) {
        splitOn(line, u',', fields_);
        if (fields_.empty()) fields_.emplace_back();  // an empty line is one empty field
        const std::u16string_view id = fields_[0];
        counter_.count(recordLabel(id), report_.counts);
        const RecordLayout* layout = findRecordLayout(report_.revision, id);
        if (layout == nullptr) {
            report_.addFinding({What::UnknownRecord, std::u16string(recordLabel(id)), {}, number, 0, 0, 0});
        } else {
            checkFields(*layout, number);
        }
        if (line.find(u'"') != std::u16string_view::npos) checkQuotes(layout, recordLabel(id), number);
        if (layout == nullptr) return;
        follow(id, number);
    }

    ClaimsCheckReport finish() {
        if (!sawTotals_) report_.addFinding({What::NoTotalsRecord, u"GO", {}, 0, 0, 0, 0});
        return std::move(report_);
    }

private:
    void checkFields(const RecordLayout& layout, size_t line) {
        if (!layout.described()) return;
        if (!layout.fieldCountFits(fields_.size())) {
            report_.addFinding({What::FieldCount,
                                std::u16string(layout.id),
                                {},
                                line,
                                layout.fields.size(),
                                layout.fewestFields,
                                fields_.size()});
        }
        const size_t count = std::min(fields_.size(), layout.fields.size());
        for (size_t i = 1; i < count; ++i) checkField(layout, i, line);
    }

    // A field with a double quote gets that finding and no other: the quote is the fault.
    void checkQuotes(const RecordLayout* layout, std::u16string_view label, size_t line) {
        for (size_t i = 0; i < fields_.size(); ++i) {
            if (fields_[i].find(u'"') == std::u16string_view::npos) continue;
            const bool named = layout != nullptr && i < layout->fields.size();
            // Unnamed fields are numbered from 1, as the layout numbers its items.
            std::u16string field = named ? layout->fields[i].name : u"項目" + fromAscii(std::to_string(i + 1));
            report_.addFinding({What::DoubleQuote, std::u16string(label), std::move(field), line, 0, 0, 0});
        }
    }

    void checkField(const RecordLayout& layout, size_t position, size_t line) {
        const FieldLayout& field = layout.fields[position];
        const std::u16string_view value = fields_[position];
        if (value.find(u'"') != std::u16string_view::npos) return;  // checkQuotes reports it
        const auto add = [&](What what, size_t expected = 0) {
            report_.addFinding({what, std::u16string(layout.id), field.name, line, expected, 0, 0});
        };
        if (value.empty()) {
            if (field.required) add(What::Empty);
            return;
        }
        if (const auto fault = modeFault(value, field.mode)) add(*fault);
        if (field.bytes == 0) return;
        const size_t bytes = cp932Length(value);
        if (field.fixedLength ? bytes != field.bytes : bytes > field.bytes) {
            add(field.fixedLength ? What::WrongLength : What::TooLong, field.bytes);
        }
    }

    // What the record means beyond its own fields: the billing month, claims and totals.
    void follow(std::u16string_view id, size_t line) {
        constexpr size_t kBillingMonth = 7;
        constexpr size_t kTreatmentMonth = 3;
        if (id == u"IR") {
            billingMonth_ =
                fields_.size() > kBillingMonth ? yearMonth(fields_[kBillingMonth], report_.revision) : std::nullopt;
            totals_.clinic(fields_);
        } else if (id == u"RE") {
            totals_.claim();
            const auto month =
                fields_.size() > kTreatmentMonth ? yearMonth(fields_[kTreatmentMonth], report_.revision) : std::nullopt;
            if (month && billingMonth_ && *month > *billingMonth_) {
                report_.addFinding({What::MonthAfterBilling, u"RE", u"診療年月", line, 0, 0, 0});
            }
        } else if (id == u"HO") {
            totals_.insurer(fields_);
        } else if (id == u"KO") {
            totals_.publicExpense(fields_);
        } else if (id == u"GO") {
            sawTotals_ = true;
            totals_.totals(fields_, line, report_);
        }
    }

    ClaimsCheckReport report_;
    RecordCounter counter_;
    TotalsTracker totals_;
    Fields fields_;
    std::optional<std::uint64_t> billingMonth_;
    bool sawTotals_ = false;
};

std::u16string_view fieldAt(const std::u16string& line, size_t position) {
    std::vector<std::u16string_view> fields;
    splitOn(line, u',', fields);
    return position < fields.size() ? fields[position] : std::u16string_view();
}

}  // namespace

void ClaimsCheckReport::addFinding(ClaimsFinding finding) {
    ++findingCount;
    if (findings.size() < kListedFindings) findings.push_back(std::move(finding));
}

ClaimsCheckReport checkClaimsFile(const std::filesystem::path& file) {
    Cp932LineReader reader(file, LineRule::TextFile, Cp932Input::ShiftJisText);
    std::u16string line;
    if (!reader.next(line) || fieldAt(line, 0) != u"IR") throw Error(std::u16string(msg::kNoClinicRecordFirst));
    constexpr size_t kBillingMonth = 7;
    const auto revision = revisionOfBillingMonth(trimmedView(fieldAt(line, kBillingMonth)));
    FileCheck check(revision.value_or(LayoutRevision::Western));
    size_t number = 1;
    check.record(line, number);
    while (reader.next(line)) check.record(line, ++number);
    return check.finish();
}

}  // namespace vask::claims
