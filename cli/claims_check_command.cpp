// vask-cli check-claims FILE: the report of the check of a claims file against the record
// layout. Exit status 0 when it found nothing, 3 when it found something, 1 when it cannot
// check (the file is missing or unreadable, or does not begin with an IR record).
#include "claims/claims_check.h"
#include "cli/cli.h"
#include "platform/paths.h"

namespace vask::cli {
namespace {

const CommandRegistration checkClaims({
    .order = 62,
    .name = "check-claims",
    .synopsis = "check-claims CLAIMS",
    .valueOptions = {},
    .positionalCount = 1,
    .run =
        [](const Arguments& args) {
            const claims::ClaimsCheckReport report = claims::checkClaimsFile(toPath(args.positional[0]));
            return CommandResult(Verdict{claims::claimsCheckLines(report), report.clean()});
        },
});

}  // namespace
}  // namespace vask::cli
