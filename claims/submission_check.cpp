#include "claims/submission_check.h"

#include <algorithm>

#include "core/messages.h"
#include "core/text.h"

namespace vask::claims {
namespace {

bool sameFinding(const ClaimsFinding& a, const ClaimsFinding& b) {
    return a.what == b.what && a.record == b.record && a.field == b.field && a.line == b.line &&
           a.expected == b.expected && a.fewest == b.fewest && a.actual == b.actual;
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

bool SubmissionCheck::findingsWereInInput() const {
    if (!input || written.findingCount > input->findingCount) return false;
    const auto& had = input->findings;
    const bool listCut = input->findingCount > had.size();
    const size_t lastListed = had.empty() ? 0 : had.back().line;
    return std::all_of(written.findings.begin(), written.findings.end(), [&](const ClaimsFinding& f) {
        if (std::any_of(had.begin(), had.end(), [&](const ClaimsFinding& h) { return sameFinding(f, h); })) {
            return true;
        }
        return listCut && (f.line == 0 || f.line >= lastListed);
    });
}

SubmissionCheck checkSubmission(const std::filesystem::path& input, const std::filesystem::path& written) {
    SubmissionCheck check{checkClaimsFile(written), std::nullopt};
    if (!check.clean()) check.input = checkClaimsFile(input);
    return check;
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
