// The check of anonymised files from the command line: the check-anonymized subcommand,
// and the check that anonymize and blank-names run on the file they wrote; and the check
// that strip-branch runs on the file it wrote for submission.
#pragma once

#include <string_view>

#include "claims/submission_check.h"
#include "core/anonymisation_profile.h"
#include "core/outcome.h"

namespace vask::cli {

// After a run of anonymize (claims) or blank-names (form-1) that wrote a file: checks it
// against `input` under the run's `profile` and prints one warning line on standard error
// when the check finds a fault, meets records it does not know or cannot run. The run's
// exit status and standard output stay as they are.
enum class AnonymisedKind { Claims, FormOne };
void checkAfterwards(AnonymisedKind kind, std::u16string_view input, const Outcome& outcome,
                     AnonymisationProfile profile);

// After a run of strip-branch that wrote a file: checks it as a file for submission (the
// check of check-claims; `removal` watched the run and tells whether the findings were
// the input's) and prints one warning line on standard error when it finds something or
// cannot run. The run's exit status and standard output stay as they are.
void checkSubmissionAfterwards(const Outcome& outcome, const claims::RemovalFindings& removal);

}  // namespace vask::cli
