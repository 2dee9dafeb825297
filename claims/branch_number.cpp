#include "claims/branch_number.h"

#include <algorithm>

#include "claims/claims_record.h"
#include "core/chart_number.h"
#include "core/messages.h"
#include "core/numbers.h"
#include "core/text.h"
#include "platform/cp932.h"
#include "platform/paths.h"

namespace vask::claims {
namespace {

constexpr size_t kChartNumber = 13;

// A position as the window reads it: trimmed, as an integer, 0 when it reads as none.
int32_t readPosition(std::u16string_view text) { return readInt32Or(trimmedView(text), 0); }

class BranchRemover : public RecordEditor {
public:
    BranchRemover(BranchMode mode, int32_t start, int32_t end) : mode_(mode), start_(start), end_(end) {}

    std::optional<std::string_view> edit(std::string_view line) override {
        const RecordKind kind = recordKind(line);
        if (kind == RecordKind::Clinic) {
            record_.split(line);
            month_ = cp932::decode(trimmedBytes(record_.at(7)));
            if (kindOfExaminingBody(record_.at(1)) == ClaimsKind::National) kind_ = ClaimsKind::National;
            return line;  // the clinic record stays as read
        }
        if (kind != RecordKind::Claim) return line;
        record_.split(line);
        if (mode_ != BranchMode::None) {
            const std::u16string chart = cp932::decode(record_.at(kChartNumber));
            chart_.clear();
            cp932::encodeAppend(mode_ == BranchMode::Symbols ? GetKnjBng(chart) : GetKnjBng2(chart, start_, end_),
                                chart_);
            record_.set(kChartNumber, chart_);
        }
        // The comma-text join would enclose a field holding a blank or a control character
        // in double quotes; a claims file knows no quoting and this file is submitted, so a
        // claim record is joined by commas alone (the split left no quote in a field).
        out_.clear();
        record_.appendJoinedByCommas(out_);
        return out_;
    }

    std::u16string outputName() const override {
        return u"(" + month_ + (kind_ == ClaimsKind::National ? u"提出_国保" : u"提出_社保") + u")RECEIPTC.uke";
    }
    ClaimsKind kind() const override { return kind_; }

private:
    BranchMode mode_;
    int32_t start_;
    int32_t end_;
    Record record_;
    std::string chart_;
    std::string out_;
    ClaimsKind kind_ = ClaimsKind::Employee;
    std::u16string month_;
};

}  // namespace

BranchMode branchModeOfIndex(int index) {
    if (index == 0) return BranchMode::Symbols;
    if (index == 1) return BranchMode::Positions;
    return BranchMode::None;
}

std::u16string GetKnjBng(std::u16string_view pstKnjBng) { return cutBranchNumber(pstKnjBng); }

std::u16string GetKnjBng2(std::u16string_view pstKnjBng, int32_t KStart, int32_t KEnd) {
    // A range that selects nothing (a negative position, or a start not before the end)
    // gives the empty chart number rather than keeping the branch number.
    if (KStart < 0 || KEnd <= 0 || KStart >= KEnd) return {};
    const std::u16string_view s = trimmedView(pstKnjBng);
    const size_t first = static_cast<size_t>(std::max(KStart, int32_t{1})) - 1;
    if (first >= s.size()) return {};
    const size_t last = std::min(static_cast<size_t>(KEnd), s.size());
    return trim(s.substr(first, last - first));
}

std::optional<std::u16string> positionsRefusal(std::u16string_view startText, std::u16string_view endText) {
    if (isBlank(startText) || isBlank(endText)) return std::u16string(msg::kBlankPosition);
    if (readPosition(startText) == 0 || readPosition(endText) == 0) return std::u16string(msg::kBadPosition);
    return std::nullopt;
}

ClaimsResult Conv2(const std::filesystem::path& programFolder, std::u16string_view pstFile, BranchMode mode,
                   std::u16string_view startText, std::u16string_view endText, RewriteObserver* observer) {
    const std::filesystem::path input = toPath(pstFile);
    if (!fileExists(input)) return ClaimsResult::refused(std::u16string(msg::kNoFile));
    if (mode == BranchMode::Positions) {
        if (auto refusal = positionsRefusal(startText, endText)) return ClaimsResult::refused(std::move(*refusal));
    }
    BranchRemover remover(mode, readPosition(startText), readPosition(endText));
    return rewriteClaimsFile(programFolder, input, remover, remover.outputName(), msg::kBranchNumbersRemoved, observer);
}

}  // namespace vask::claims
