// The check of a file that the branch-number removal wrote for submission: the claims check
// (claims_check.h) of the written file and, only when it finds something, of the claims
// file it was made from, so that a finding can be told as one the file already had or as
// one the removal made.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "claims/claims_check.h"
#include "core/anonymisation_report.h"

namespace vask::claims {

struct SubmissionCheck {
    ClaimsCheckReport written;
    std::optional<ClaimsCheckReport> input;  // checked only when `written` has findings

    bool clean() const { return written.clean(); }
    // Whether the input had every finding of the written file: no more findings, and each
    // listed one also among the input's, at the same line. When the input has more
    // findings than its list holds, those past its list are told by the counts alone.
    bool findingsWereInInput() const;
};

// Checks `written` and, when it has findings, `input`. Raises Error when a file cannot be
// checked (unreadable, no Shift-JIS text, no IR record first).
SubmissionCheck checkSubmission(const std::filesystem::path& input, const std::filesystem::path& written);

// Where the findings came from, in a few words: "元のファイルにもある問題です" or
// "枝番除去で生じた問題があります".
std::u16string_view findingsOrigin(const SubmissionCheck& check);

// The checks of one press's written files, as the result window shows them: one line
// "点検：" with each file's kind (社保 or 国保) and outcome, and in `detail` each file's
// findings as the report lists them, where they came from and what the check cannot know.
struct CheckedSubmission {
    std::u16string kind;  // 社保 or 国保
    std::u16string name;  // the written file
    SubmissionCheck check;
};
CheckSummary summarizeSubmissionChecks(const std::vector<CheckedSubmission>& files);

}  // namespace vask::claims
