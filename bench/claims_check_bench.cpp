// The check of a claims file against the record layout (vask-cli check-claims) on the
// generated claims file of the claims benchmark (default 100 MB; the size in MB is the
// first argument, the number of runs the second), beside an iconv round trip (CP932 ->
// UTF-16LE -> CP932) over the same file in the same run. The check runs in a child
// process of its own, so that the peak resident memory printed is its own. Beside it the
// branch-number removal followed by the check of the file it wrote for submission (told
// against its input by what the removal saw of it). Targets: the check at most 0.30x the iconv
// round trip, the removal with its check 0.50x; peak resident memory under 32 MB. Then
// what the refusal of files that are no Shift-JIS text adds to each (see
// printRefusalRow): at most 5 %.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_support.h"
#include "claims/branch_number.h"
#include "claims/claims_check.h"
#include "claims/submission_check.h"
#include "claims_generator.h"
#include "platform/paths.h"

int main(int argc, char** argv) {
    const auto [folder, input, mib, runs] = vask::bench::generateClaimsBenchFile("claims-check", argc, argv, 3);

    const std::string file = vask::bench::quote(input);
    const double iconv = vask::bench::bestShell(
        runs, "iconv -f CP932 -t UTF-16LE " + file + " | iconv -f UTF-16LE -t CP932 > /dev/null");
    // What the check finds does not decide the run, only that it read the whole file and
    // made its report.
    const auto checkWork = [&] {
        const auto report = vask::claims::checkClaimsFile(input);
        return !vask::claims::claimsCheckLines(report).empty() && !report.counts.empty();
    };
    const auto check = vask::bench::bestInChild(runs, checkWork);
    const auto stripWork = [&] {
        vask::claims::RemovalFindings removal;
        const auto result =
            vask::claims::Conv2(folder, vask::fromPath(input), vask::claims::BranchMode::Symbols, u"", u"", &removal);
        if (result.outcome.isRefusal()) return false;
        const auto checked = vask::claims::checkSubmission(result.outcome.files().front(), removal);
        return !checked.written.counts.empty();
    };
    const auto strip = vask::bench::bestInChild(runs, stripWork);

    const double cat = vask::bench::catSeconds(runs, file);
    std::printf("check-claims, %.1f MiB claims file (best of %d, in its own process)\n", mib, runs);
    const std::string baseline = "iconv round trip";
    bool met = vask::bench::printTableRow(
        {"check-claims", mib, "claims file", check.seconds, check.peakMiB, baseline, iconv, cat, 0.30, 32});
    met = vask::bench::printTableRow({"claims branch removal + check", mib, "claims file", strip.seconds, strip.peakMiB,
                                      baseline, iconv, cat, 0.50, 32}) &&
          met;
    met = vask::bench::printRefusalRow("check-claims", mib, "claims file", checkWork) && met;
    met = vask::bench::printRefusalRow("claims branch removal + check", mib, "claims file", stripWork) && met;
    std::filesystem::remove_all(folder);
    return met ? 0 : 1;
}
