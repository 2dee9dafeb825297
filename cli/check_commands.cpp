// vask-cli check-anonymized ORIGINAL ANONYMISED [--kind claims|form1] [--profile
// written|pseudonym]: the report of the check of an anonymised file against its original,
// claims or form-1 file, under the profile it was anonymised by. Without --kind,
// the original is a claims file when any of its lines is an IR, RE, HO, KO or SN record (as
// the claims tools read records), so that a fragment of a claims file is checked as one;
// any other file is taken as a form-1 file of tab-separated columns.
#include "cli/check_commands.h"

#include <cstdio>
#include <exception>
#include <functional>
#include <string>

#include "claims/anonymisation_check.h"
#include "claims/submission_check.h"
#include "cli/cli.h"
#include "cli/profile_options.h"
#include "core/messages.h"
#include "core/text.h"
#include "formone/anonymiser_check.h"
#include "platform/console.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::cli {
namespace {

enum class AnonymisedKind { Claims, FormOne };

AnonymisationReport check(AnonymisedKind kind, const std::filesystem::path& original,
                          const std::filesystem::path& anonymised, AnonymisationProfile profile) {
    return kind == AnonymisedKind::Claims ? claims::checkAnonymisedClaims(original, anonymised, profile)
                                          : formone::checkAnonymisedFormOne(original, anonymised, profile);
}

AnonymisedKind kindOf(const Arguments& args, const std::filesystem::path& original) {
    const auto kind = args.option("--kind");
    if (!kind) return claims::holdsClaimsRecord(original) ? AnonymisedKind::Claims : AnonymisedKind::FormOne;
    if (*kind == u"claims") return AnonymisedKind::Claims;
    if (*kind == u"form1") return AnonymisedKind::FormOne;
    throw UsageError{"--kind takes claims or form1"};
}

CommandResult runCheck(const Arguments& args) {
    const auto original = toPath(args.positional[0]);
    const auto anonymised = toPath(args.positional[1]);
    const AnonymisationProfile profile = profileOption(args);
    const AnonymisationReport report = check(kindOf(args, original), original, anonymised, profile);
    return Verdict{reportLines(report), report.clean()};
}

void warn(std::u16string_view text) { writeText(stderr, utf16ToUtf8(text) + "\n"); }

const CommandRegistration checkAnonymized({
    .order = 61,
    .name = "check-anonymized",
    .synopsis = "check-anonymized ORIGINAL ANONYMISED [--kind claims|form1] [--profile written|pseudonym]",
    .valueOptions = {"--kind", "--profile"},
    .positionalCount = 2,
    .run = runCheck,
});

// Runs `check` on a run's written file, which prints its own warning; a check that cannot
// run prints `failed` and the reason. The file is written: the run still succeeds.
void warnAfterwards(std::u16string_view failed, const std::function<void()>& check) {
    try {
        check();
    } catch (const Error& e) {
        warn(std::u16string(failed) + msg::errorBoxText(e.message()));
    } catch (const std::exception& e) {
        warn(std::u16string(failed) + msg::errorBoxText(utf8ToUtf16(e.what())));
    }
}

}  // namespace

void checkAfterwards(const Outcome& outcome, const AnonymisedFileCheck& check) {
    if (outcome.isRefusal() || outcome.files().empty()) return;
    warnAfterwards(msg::kCliCheckFailed, [&] {
        const AnonymisationReport report = check(outcome.files().front());
        if (!report.countsMatch() || !report.nothingSurvives()) {
            warn(msg::kCliCheckFoundSomething);
        } else if (!report.clean()) {
            warn(msg::kCliCheckUncheckedRecords);
        }
    });
}

void checkSubmissionAfterwards(const Outcome& outcome, const claims::RemovalFindings& removal) {
    if (outcome.isRefusal() || outcome.files().empty()) return;
    warnAfterwards(msg::kCliSubmissionCheckFailed, [&] {
        const claims::SubmissionCheck check = claims::checkSubmission(outcome.files().front(), removal);
        if (check.clean()) return;
        warn(msg::cliSubmissionFindings(check.written.findingCount, claims::findingsOrigin(check)));
    });
}

}  // namespace vask::cli
