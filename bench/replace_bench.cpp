// Record replacement: a generated form-1-like data file rewritten by a change-definition
// file, at two sizes (100 000 lines / 25 000 definitions and 200 000 lines / 50 000
// definitions). The lookup is hashed, so the cost per line must stay flat from one size
// to the other instead of growing with the number of definitions. iconv and sort on the
// same data file are timed beside it as the machine's reference.
#include <cstdio>
#include <random>
#include <string>

#include "bench_support.h"
#include "platform/cp932.h"
#include "platform/paths.h"
#include "platform/utf.h"
#include "replace/change_definitions.h"
#include "replace/record_replacement.h"

namespace {

using vask::bench::Stopwatch;

constexpr int kRounds = 5;

std::string tenDigits(long long value) {
    std::string digits = std::to_string(value);
    return std::string(10 - digits.size(), '0') + digits;
}

// Line 1 is a header pair; from line 2 on, old chart numbers (written unfilled, as clinics
// type them) map to new ones.
std::string definitionBytes(int definitions) {
    std::string bytes = "旧番号,新番号\r\n";
    for (int k = 1; k < definitions; ++k)
        bytes += std::to_string(100000 + k) + "," + std::to_string(900000 + k) + "\r\n";
    return vask::cp932::encode(vask::utf8ToUtf16(bytes));
}

// Header line, then records of 40 tab-separated columns whose second column holds a ten-digit
// number; four of five records carry a defined number, which also appears in a later column.
std::string dataBytes(int lines, int definitions) {
    std::mt19937 random(7);
    std::string bytes = vask::cp932::encode(u"カルテ番号\t番号\t患者氏名\t診療年月日\r\n");
    const std::string tail = vask::cp932::encode(u"山田　太郎\t高血圧症\r\n");
    for (int i = 1; i < lines; ++i) {
        const long long key =
            (i % 5 == 0) ? 5000000000LL + i : 100000 + 1 + static_cast<long long>(random() % (definitions - 1));
        const std::string number = tenDigits(key);
        std::string line = std::to_string(i) + "\t" + number + "\t";
        for (int column = 2; column < 40; ++column) {
            line += column == 20 ? number : std::to_string(random() % 100000);
            line += '\t';
        }
        bytes += line + tail;
    }
    return bytes;
}

struct Run {
    double load = 0;
    double replace = 0;
    size_t bytes = 0;
};

Run runOnce(int lines, int definitions) {
    const auto folder = vask::bench::scratchFolder("replace-" + std::to_string(lines));
    const auto data = folder / "FF1_bench.txt";
    const auto defs = folder / "defs.csv";
    vask::bench::writeFile(data, dataBytes(lines, definitions));
    vask::bench::writeFile(defs, definitionBytes(definitions));
    Run best{1e9, 1e9, std::filesystem::file_size(data)};
    for (int round = 0; round < kRounds; ++round) {
        Stopwatch loadWatch;
        const auto loaded = vask::CsvSet(vask::fromPath(defs));
        const double load = loadWatch.seconds();
        Stopwatch replaceWatch;
        const auto outcome = vask::Cnv(vask::fromPath(data), *loaded, folder);
        best.replace = std::min(best.replace, replaceWatch.seconds());
        best.load = std::min(best.load, load);
        if (outcome.isRefusal()) std::fprintf(stderr, "refused\n");
    }
    const double iconv = vask::bench::timeShell("iconv -f CP932 -t UTF-8 " + vask::bench::quote(data) + " > /dev/null");
    const double sort = vask::bench::timeShell("LC_ALL=C sort " + vask::bench::quote(data) + " > /dev/null");
    const double mib = static_cast<double>(best.bytes) / (1 << 20);
    const std::string what = std::to_string(lines) + " lines, " + std::to_string(definitions) + " definitions";
    // One more run in a child process of its own, for the peak memory of the tool alone.
    const auto alone = vask::bench::runInChild([&] {
        const auto loaded = vask::CsvSet(vask::fromPath(defs));
        return !vask::Cnv(vask::fromPath(data), *loaded, folder).isRefusal();
    });
    vask::bench::printTableRow(
        {"record replacement", mib, what, best.replace, alone.peakMiB, "iconv CP932 to UTF-8", iconv});
    std::printf(
        "%7d lines, %6d definitions, %5.1f MiB: definitions %6.3f s, replacement %6.3f s, "
        "%5.2f us/line   (iconv %5.3f s, sort %5.3f s)\n",
        lines, definitions, static_cast<double>(best.bytes) / (1 << 20), best.load, best.replace,
        best.replace / lines * 1e6, iconv, sort);
    std::filesystem::remove_all(folder);
    return best;
}

}  // namespace

int main() {
    std::printf("record replacement (best of %d)\n", kRounds);
    const Run small = runOnce(100000, 25000);
    const Run large = runOnce(200000, 50000);
    std::printf("per-line cost, large / small: %.2f (1.00 = linear)\n",
                (large.replace / 200000) / (small.replace / 100000));
    return 0;
}
