#include "claims/submission_check.h"

#include <algorithm>

#include "core/messages.h"
#include "core/text.h"

namespace vask::claims {
namespace {

bool sameFinding(const ClaimsFinding& a, const ClaimsFinding& b) {
    return a.what == b.what && a.record == b.record && a.field == b.field && a.expected == b.expected &&
           a.fewest == b.fewest && a.actual == b.actual;
}

std::u16string number(size_t n) { return fromAscii(std::to_string(n)); }

std::u16string outcomeOf(const SubmissionCheck& check) {
    if (check.clean()) return u"問題なし";
    return number(check.written.findingCount) + u"件（" + std::u16string(findingsOrigin(check)) + u"）";
}

std::u16string fileDetail(const CheckedSubmission& file) {
    const ClaimsCheckReport& report = file.check.written;
    std::u16string detail = file.name + u":";
    if (report.clean()) return detail + u" 問題はありません";
    detail += u" 問題 " + number(report.findingCount) + u"件（" + std::u16string(findingsOrigin(file.check)) + u"）";
    for (const auto& finding : report.findings) detail += u"\n" + claimsFindingLine(finding);
    if (report.findingCount > report.findings.size()) {
        detail += u"\n  ほか " + number(report.findingCount - report.findings.size()) + u"件";
    }
    return detail;
}

}  // namespace

void RemovalFindings::rewrote(std::string_view read, std::optional<std::string_view> written) {
    ++line_;
    if (!check_) check_.emplace(revisionOfClinicRecord(read).value_or(LayoutRevision::Western));
    if (!written || *written == read) return;
    before_ = check_->check(read, line_);
    for (const auto& finding : check_->check(*written, line_)) {
        const auto had = std::find_if(before_.begin(), before_.end(),
                                      [&](const ClaimsFinding& b) { return sameFinding(finding, b); });
        if (had == before_.end()) {
            ++made_;
        } else {
            before_.erase(had);  // each finding of the read line accounts for one of the written
        }
    }
}

SubmissionCheck checkSubmission(const std::filesystem::path& written, const RemovalFindings& removal) {
    return {checkClaimsFile(written), removal.made()};
}

std::u16string_view findingsOrigin(const SubmissionCheck& check) {
    return check.findingsWereInInput() ? u"元のファイルにもある問題です" : u"枝番除去で生じた問題があります";
}

CheckSummary summarizeSubmissionChecks(const std::vector<CheckedSubmission>& files) {
    CheckSummary summary;
    summary.question = std::u16string(msg::kSaveDespiteCheckFindings);
    summary.line = u"点検：";
    for (const auto& file : files) {
        summary.clean = summary.clean && file.check.clean();
        if (&file != &files.front()) summary.line += u"、";
        summary.line += file.kind + u" " + outcomeOf(file.check);
        summary.detail += (summary.detail.empty() ? u"" : u"\n") + fileDetail(file);
    }
    summary.detail += u"\n" + std::u16string(kClaimsCheckLeavesOut);
    return summary;
}

}  // namespace vask::claims
