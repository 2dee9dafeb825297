// The check of a file that the branch-number removal wrote for submission: the claims check
// (claims_check.h) of the written file as it was committed, and whether the removal made
// any of its findings or the input already had them all, told from the removal's own read
// of the input (RemovalFindings), so that the input is read once.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "claims/claims_check.h"
#include "claims/claims_file.h"
#include "core/anonymisation_report.h"

namespace vask::claims {

// Watches the removal while it writes (pass it to Conv2): every line it writes as read has
// the findings it had; every line it changed (a claim record whose chart number it cut or
// whose quotes it dropped) is checked as read and as written, and each finding of the
// written line that the read one did not have is counted as made by the removal. What the
// claims check finds beyond a record's own fields (the billing month, the totals) depends
// on fields the removal never changes.
class RemovalFindings : public RewriteObserver {
public:
    void rewrote(std::string_view read, std::optional<std::string_view> written) override;
    size_t made() const { return made_; }

private:
    std::optional<ClaimsRecordCheck> check_;  // from the first line on, in its revision
    std::vector<ClaimsFinding> before_;
    size_t line_ = 0;
    size_t made_ = 0;
};

struct SubmissionCheck {
    ClaimsCheckReport written;
    size_t madeByRemoval = 0;  // findings of `written` that its input did not have

    bool clean() const { return written.clean(); }
    // Whether the input had every finding of the written file.
    bool findingsWereInInput() const { return madeByRemoval == 0; }
};

// Checks `written`, the file the removal watched by `removal` wrote. Raises Error when it
// cannot be checked (unreadable, no Shift-JIS text, no IR record first).
SubmissionCheck checkSubmission(const std::filesystem::path& written, const RemovalFindings& removal);

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
