// vask-cli subcommands of the claims tools: anonymize (by either anonymisation profile)
// and strip-branch, each with the check of what it wrote.
#include "claims/anonymisation_check.h"
#include "claims/anonymise.h"
#include "claims/branch_number.h"
#include "claims/submission_check.h"
#include "cli/check_commands.h"
#include "cli/cli.h"
#include "cli/profile_options.h"
#include "platform/paths.h"

namespace vask::cli {
namespace {

claims::BranchMode branchMode(const Arguments& args) {
    const std::u16string mode = args.option("--mode").value_or(u"symbols");
    if (mode == u"symbols") return claims::BranchMode::Symbols;
    if (mode == u"positions") return claims::BranchMode::Positions;
    if (mode == u"none") return claims::BranchMode::None;
    throw UsageError{"--mode takes symbols, positions or none"};
}

const CommandRegistration anonymize({
    .order = 10,
    .name = "anonymize",
    .synopsis = "anonymize CLAIMS [--profile written|pseudonym] [--key FILE] [-o OUTDIR]",
    .valueOptions = {"-o", "--profile", "--key"},
    .positionalCount = 1,
    .run =
        [](const Arguments& args) {
            const AnonymisationProfile profile = profileOption(args);
            auto pseudonyms = pseudonymsFor(args, profile);
            // The check learns the original from the anonymiser's own read of it.
            claims::ClaimsAnonymisationCheck check(profile);
            const Outcome outcome =
                claims::Conv(args.outputFolder(), args.positional[0], pseudonyms ? &*pseudonyms : nullptr, &check)
                    .outcome;
            checkAfterwards(outcome, [&](const std::filesystem::path& written) {
                return check.check(toPath(args.positional[0]), written);
            });
            return outcome;
        },
});

// A missing --from or --to is the empty text, which positions mode refuses as a blank box.
const CommandRegistration stripBranch({
    .order = 11,
    .name = "strip-branch",
    .synopsis = "strip-branch CLAIMS [--mode symbols|positions|none] [--from TEXT] [--to TEXT] [-o OUTDIR]",
    .valueOptions = {"-o", "--mode", "--from", "--to"},
    .positionalCount = 1,
    .run =
        [](const Arguments& args) {
            const claims::BranchMode mode = branchMode(args);
            claims::RemovalFindings removal;
            const Outcome outcome =
                claims::Conv2(args.outputFolder(), args.positional[0], mode, args.option("--from").value_or(u""),
                              args.option("--to").value_or(u""), &removal)
                    .outcome;
            checkSubmissionAfterwards(outcome, removal);
            return outcome;
        },
});

}  // namespace
}  // namespace vask::cli
