// Claims anonymisation and branch-number removal on a generated claims file (default
// 100 MB; the size in MB is the first argument, the number of runs the second), beside
// an iconv round trip (CP932 -> UTF-16LE -> CP932) over the same file in the same run.
// Each tool runs in a child process of its own, so that the peak resident memory printed
// is the tool's alone. Targets: each tool at least as fast as the iconv round trip; peak
// resident memory under 32 MB at any input size; anonymisation followed by the check of
// its output against the input at most 1.5 times the iconv round trip, its peak memory
// under 32 MB plus the distinct values collected from the input.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_support.h"
#include "claims/anonymisation_check.h"
#include "claims/anonymise.h"
#include "claims/branch_number.h"
#include "claims_generator.h"
#include "core/text.h"
#include "platform/cp932.h"
#include "platform/paths.h"

namespace {

using vask::bench::ChildRun;
using vask::bench::ClaimsGenerator;
using vask::bench::printTableRow;

// A tool run that succeeded by writing its file.
bool wrote(const vask::claims::ClaimsResult& result) { return !result.outcome.isRefusal(); }

}  // namespace

int main(int argc, char** argv) {
    const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const auto folder = vask::bench::scratchFolder("claims");
    const auto input = folder / "claims.UKE";
    ClaimsGenerator().write(input, megabytes << 20);
    const double mib = static_cast<double>(std::filesystem::file_size(input)) / (1 << 20);

    const std::string file = vask::bench::quote(input);
    const double iconv = vask::bench::bestShell(
        runs, "iconv -f CP932 -t UTF-16LE " + file + " | iconv -f UTF-16LE -t CP932 > /dev/null");
    const ChildRun anonymise =
        vask::bench::bestInChild(runs, [&] { return wrote(vask::claims::Conv(folder, vask::fromPath(input))); });
    // The check's findings do not decide the run: random numbers of the generated file
    // may equal codes of other records.
    const ChildRun checked = vask::bench::bestInChild(runs, [&] {
        const auto result = vask::claims::Conv(folder, vask::fromPath(input));
        if (!wrote(result)) return false;
        const auto report = vask::claims::checkAnonymisedClaims(input, result.outcome.files().front());
        return report.countsMatch();
    });
    const ChildRun strip = vask::bench::bestInChild(runs, [&] {
        return wrote(vask::claims::Conv2(folder, vask::fromPath(input), vask::claims::BranchMode::Symbols, u"", u""));
    });

    std::printf("claims tools, %.1f MiB claims file (best of %d, each tool in its own process)\n", mib, runs);
    const std::string what = "claims file";
    printTableRow({"claims anonymisation", mib, what, anonymise.seconds, anonymise.peakMiB, "iconv round trip", iconv});
    printTableRow(
        {"claims anonymisation + check", mib, what, checked.seconds, checked.peakMiB, "iconv round trip", iconv});
    printTableRow({"claims branch removal", mib, what, strip.seconds, strip.peakMiB, "iconv round trip", iconv});
    std::filesystem::remove_all(folder);
    constexpr double kCheckedRatio = 1.5;
    const bool met = anonymise.ok() && strip.ok() && checked.ok() && anonymise.seconds <= iconv &&
                     strip.seconds <= iconv && checked.seconds <= kCheckedRatio * iconv && anonymise.peakMiB < 32 &&
                     strip.peakMiB < 32;
    std::printf("  targets (as fast as iconv, with the check 1.5x; peak RSS < 32 MiB): %s\n", met ? "met" : "NOT MET");
    std::printf("  peak RSS with the check: %.1f MiB (32 MiB plus the values collected)\n", checked.peakMiB);
    return met ? 0 : 1;
}
