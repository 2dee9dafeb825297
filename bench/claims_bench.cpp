// Claims anonymisation and branch-number removal on a generated claims file (default
// 100 MB; the size in MB is the first argument, the number of runs the second), beside
// an iconv round trip (CP932 -> UTF-16LE -> CP932) over the same file and cat of it, in
// the same run. Each tool runs in a child process of its own, so that the peak resident
// memory printed is the tool's alone. Rows: each tool alone, the check of an anonymised
// file alone, the anonymisation as users run it (with the check of what it wrote) through
// the operations and through vask-cli, and the pseudonymisation profile with its check.
// Targets: each tool alone at most a quarter of the iconv round trip in under 32 MB; the
// check alone 0.30x; with its check 0.50x; the pseudonymisation profile with its check
// 0.60x (its peak memory is 32 MB plus the values collected: every patient's pseudonym).
// Then what the refusal of files that are no Shift-JIS text adds to each tool run through
// the operations (see printRefusalRow): at most 5 %.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>

#include "bench_support.h"
#include "claims/anonymisation_check.h"
#include "claims/anonymise.h"
#include "claims/branch_number.h"
#include "claims_generator.h"
#include "core/anonymisation_profile.h"
#include "core/pseudonym.h"
#include "core/text.h"
#include "platform/cp932.h"
#include "platform/paths.h"

namespace {

using vask::bench::ChildRun;
using vask::bench::printTableRow;

// A tool run that succeeded by writing its file.
bool wrote(const vask::claims::ClaimsResult& result) { return !result.outcome.isRefusal(); }

}  // namespace

int main(int argc, char** argv) {
    const auto [folder, input, mib, runs] = vask::bench::generateClaimsBenchFile("claims", argc, argv, 3);

    const std::string file = vask::bench::quote(input);
    const double iconv = vask::bench::bestShell(
        runs, "iconv -f CP932 -t UTF-16LE " + file + " | iconv -f UTF-16LE -t CP932 > /dev/null");
    const double cat = vask::bench::catSeconds(runs, file);
    const auto anonymiseWork = [&] { return wrote(vask::claims::Conv(folder, vask::fromPath(input))); };
    const ChildRun anonymise = vask::bench::bestInChild(runs, anonymiseWork);
    // The anonymised file of the runs above, checked alone. The check's findings do not
    // decide the run: random numbers of the generated file may equal codes of other records.
    const auto anonymised = folder / vask::claims::Conv(folder, vask::fromPath(input)).fileName;
    const auto checkAloneWork = [&] { return vask::claims::checkAnonymisedClaims(input, anonymised).countsMatch(); };
    const ChildRun checkAlone = vask::bench::bestInChild(runs, checkAloneWork);
    // As users run it: the check learns the original from the anonymiser's own read.
    const auto checkedWork = [&] {
        vask::claims::ClaimsAnonymisationCheck check;
        const auto result = vask::claims::Conv(folder, vask::fromPath(input), nullptr, &check);
        if (!wrote(result)) return false;
        return check.check(input, result.outcome.files().front()).countsMatch();
    };
    const ChildRun checked = vask::bench::bestInChild(runs, checkedWork);
    const std::string cli = vask::bench::quote(vask::executableFolder() / "vask-cli");
    const double viaCli =
        vask::bench::bestShell(runs, cli + " anonymize " + file + " -o " + vask::bench::quote(folder) + " > /dev/null");
    // The pseudonymisation profile with its check as users run it (one read of the
    // original), under a key of the run's own.
    const auto pseudonymisedWork = [&] {
        vask::ChartPseudonyms pseudonyms(std::string(32, '\x2A'));
        vask::claims::ClaimsAnonymisationCheck check(vask::AnonymisationProfile::Pseudonym);
        const auto result = vask::claims::Conv(folder, vask::fromPath(input), &pseudonyms, &check);
        if (!wrote(result)) return false;
        return check.check(input, result.outcome.files().front()).countsMatch();
    };
    const ChildRun pseudonymised = vask::bench::bestInChild(runs, pseudonymisedWork);
    const auto stripWork = [&] {
        return wrote(vask::claims::Conv2(folder, vask::fromPath(input), vask::claims::BranchMode::Symbols, u"", u""));
    };
    const ChildRun strip = vask::bench::bestInChild(runs, stripWork);

    std::printf("claims tools, %.1f MiB claims file (best of %d, each tool in its own process)\n", mib, runs);
    const std::string what = "claims file";
    const std::string baseline = "iconv round trip";
    bool met = true;
    met = printTableRow({"claims anonymisation", mib, what, anonymise.seconds, anonymise.peakMiB, baseline, iconv, cat,
                         0.25, 32}) &&
          met;
    met = printTableRow(
              {"check-anonymized", mib, what, checkAlone.seconds, checkAlone.peakMiB, baseline, iconv, cat, 0.30}) &&
          met;
    met = printTableRow({"claims anonymisation + check", mib, what, checked.seconds, checked.peakMiB, baseline, iconv,
                         cat, 0.50}) &&
          met;
    met = printTableRow({"vask-cli anonymize (checks too)", mib, what, viaCli, 0, baseline, iconv, cat, 0.50}) && met;
    met = printTableRow({"claims pseudonymisation + check", mib, what, pseudonymised.seconds, pseudonymised.peakMiB,
                         baseline, iconv, cat, 0.60}) &&
          met;
    met = printTableRow(
              {"claims branch removal", mib, what, strip.seconds, strip.peakMiB, baseline, iconv, cat, 0.25, 32}) &&
          met;
    std::printf("  peak RSS with the check: %.1f MiB (32 MiB plus the values collected)\n", checked.peakMiB);
    const std::pair<const char*, std::function<bool()>> tools[] = {
        {"claims anonymisation", anonymiseWork},
        {"check-anonymized", checkAloneWork},
        {"claims anonymisation + check", checkedWork},
        {"claims pseudonymisation + check", pseudonymisedWork},
        {"claims branch removal", stripWork}};
    for (const auto& [operation, work] : tools) {
        met = vask::bench::printRefusalRow(operation, mib, what, work) && met;
    }
    std::filesystem::remove_all(folder);
    return met ? 0 : 1;
}
