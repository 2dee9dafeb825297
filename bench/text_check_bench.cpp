// What the refusal of files that are no Shift-JIS text costs a reader: the generated
// claims file of the claims benchmark (default 100 MB; the size in MB is the first
// argument, the number of runs the second) read line by line with LineBytesReader, with
// and without refuseNonShiftJis(), the two taken in turns. The row compares the processor
// time of the two (user and system, this process alone), since on a machine that other
// work shares the wall-clock times of the same reading differ by more than the check
// costs; both kinds are printed. The row has no target: what the refusal may cost is
// measured on each tool's row (at most 5 % of its time), where the check runs on the
// read-ahead thread beside the tool's own work; this row shows its cost against reading
// alone.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <tuple>

#include "bench_support.h"
#include "claims_generator.h"
#include "core/textfile.h"

namespace {

// Reads every line; returns how many bytes the lines hold (so that no read is left out).
size_t readLines(const std::filesystem::path& file, bool refuseNonShiftJis) {
    vask::LineBytesReader reader(file, vask::LineRule::TextFile);
    if (refuseNonShiftJis) reader.refuseNonShiftJis();
    size_t bytes = 0;
    for (std::string_view line; reader.next(line);) bytes += line.size();
    return bytes;
}

struct Times {
    double wall = 1e9;
    double processor = 1e9;
};

// Reads the file and keeps the shortest times seen; returns the bytes of the lines.
size_t timeReading(const std::filesystem::path& file, bool refuseNonShiftJis, Times& best) {
    const std::clock_t start = std::clock();
    vask::bench::Stopwatch watch;
    const size_t bytes = readLines(file, refuseNonShiftJis);
    best.wall = std::min(best.wall, watch.seconds());
    best.processor = std::min(best.processor, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    const auto [folder, input, mib, runs] = vask::bench::generateClaimsBenchFile("text-check", argc, argv, 9);

    Times plain;
    Times checked;
    bool same = true;
    for (int run = 0; run < runs; ++run) {
        same = timeReading(input, false, plain) == timeReading(input, true, checked) && same;
    }
    const double cat = vask::bench::catSeconds(runs, vask::bench::quote(input));

    std::printf("line reader, %.1f MiB claims file (best of %d); same lines with the check: %s\n", mib, runs,
                same ? "yes" : "NO");
    for (const auto& [kind, without, with] : {std::tuple{"processor", plain.processor, checked.processor},
                                              std::tuple{"wall-clock", plain.wall, checked.wall}}) {
        std::printf("  %s time: without the check %.3f s, with it %.3f s: the check's share %.1f %%\n", kind, without,
                    with, 100.0 * (with - without) / without);
    }
    const bool met = vask::bench::printTableRow(
        {"line reader + Shift-JIS check (processor time)", mib, "claims file, line by line", checked.processor,
         vask::bench::peakResidentMiB(), "the reader without it", plain.processor, cat});
    std::filesystem::remove_all(folder);
    return met && same ? 0 : 1;
}
