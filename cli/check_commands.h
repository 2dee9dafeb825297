// The check of anonymised files from the command line: the check-anonymized subcommand,
// and the check that anonymize and blank-names run on the file they wrote; and the check
// that strip-branch runs on the file it wrote for submission.
#pragma once

#include <filesystem>
#include <functional>

#include "claims/submission_check.h"
#include "core/anonymisation_report.h"
#include "core/outcome.h"

namespace vask::cli {

// After a run of anonymize (claims) or blank-names (form-1) that wrote a file: `check`
// checks the written file against the run's input under the run's profile, and one warning
// line is printed on standard error when it finds a fault, meets records it does not know
// or cannot run. The run's exit status and standard output stay as they are.
using AnonymisedFileCheck = std::function<AnonymisationReport(const std::filesystem::path& written)>;
void checkAfterwards(const Outcome& outcome, const AnonymisedFileCheck& check);

// After a run of strip-branch that wrote a file: checks it as a file for submission (the
// check of check-claims; `removal` watched the run and tells whether the findings were
// the input's) and prints one warning line on standard error when it finds something or
// cannot run. The run's exit status and standard output stay as they are.
void checkSubmissionAfterwards(const Outcome& outcome, const claims::RemovalFindings& removal);

}  // namespace vask::cli
