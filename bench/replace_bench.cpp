// Record replacement: a generated form-1-like data file rewritten by a change-definition
// file, at two sizes (100 000 lines / 25 000 definitions and 200 000 lines / 50 000
// definitions). The lookup is hashed, so the cost per line must stay flat from one size
// to the other instead of growing with the number of definitions. iconv and sort on the
// same data file are timed beside it as the machine's reference; the time of a run is
// reading the definitions and the replacement. Targets on the large size: no slower than
// iconv from CP932 to UTF-8, peak memory under 32 MB; what the refusal of files that are no
// Shift-JIS text (data and definitions) adds to it (see printRefusalRow): at most 5 %.
// Then the same data as UTF-16 with its byte-order mark, at 20 000 and 200 000 lines with
// a small definition file: it must stream too, no slower than iconv from UTF-16 to CP932,
// its peak memory under 32 MB at 200 000 lines and at most 8 MB above that of 20 000
// lines.
#include <cstdio>
#include <fstream>
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
// `each` receives the code page 932 bytes a piece at a time.
template <typename Each>
void forEachDataPiece(int lines, int definitions, Each&& each) {
    std::mt19937 random(7);
    each(vask::cp932::encode(u"カルテ番号\t番号\t患者氏名\t診療年月日\r\n"));
    const std::string tail = vask::cp932::encode(u"山田　太郎\t高血圧症\r\n");
    std::string bytes;
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
        if (bytes.size() > (1u << 20)) {
            each(bytes);
            bytes.clear();
        }
    }
    each(bytes);
}

// The code page 932 data file, written a piece at a time: a whole file's string would
// leave this process's heap that large, and the child that measures the tool's memory
// would start with those pages.
void writeData(const std::filesystem::path& file, int lines, int definitions) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    forEachDataPiece(lines, definitions, [&](const std::string& piece) {
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    });
}

// The same data as UTF-16 LE with its byte-order mark, written a piece at a time.
void writeUtf16Data(const std::filesystem::path& file, int lines, int definitions) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << "\xFF\xFE";
    forEachDataPiece(lines, definitions, [&](const std::string& piece) {
        const std::string bytes = vask::utf16ToUtf16le(vask::cp932::decode(piece));
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    });
}

// The UTF-16 data file at both sizes with 100 definitions; returns whether the memory
// targets are met.
bool runUtf16() {
    constexpr int kDefinitions = 100;
    const auto folder = vask::bench::scratchFolder("replace-utf16");
    const auto defs = folder / "defs.csv";
    vask::bench::writeFile(defs, definitionBytes(kDefinitions));
    bool met = true;
    double firstPeak = -1;
    for (const int lines : {20000, 200000}) {
        const auto data = folder / "FF1_utf16.txt";
        writeUtf16Data(data, lines, kDefinitions);
        const auto run = vask::bench::bestInChild(3, [&] {
            const auto loaded = vask::replace::CsvSet(vask::fromPath(defs));
            return !vask::replace::Cnv(vask::fromPath(data), *loaded, folder).isRefusal();
        });
        const double iconv =
            vask::bench::bestShell(3, "iconv -f UTF-16 -t CP932 " + vask::bench::quote(data) + " > /dev/null");
        const double mib = static_cast<double>(std::filesystem::file_size(data)) / (1 << 20);
        const double cat = vask::bench::catSeconds(3, vask::bench::quote(data));
        met = vask::bench::printTableRow(
                  {"record replacement, UTF-16 data", mib,
                   std::to_string(lines) + " lines, " + std::to_string(kDefinitions) + " definitions", run.seconds,
                   run.peakMiB, "iconv UTF-16 to CP932", iconv, cat, lines == 200000 ? 1.00 : 0, 32.0}) &&
              met;
        if (firstPeak < 0) {
            firstPeak = run.peakMiB;
        } else {
            met = met && run.peakMiB - firstPeak <= 8.0;
        }
    }
    std::filesystem::remove_all(folder);
    std::printf("UTF-16 data, memory targets met: %s\n", met ? "yes" : "NO");
    return met;
}

struct Run {
    double load = 0;
    double replace = 0;
    size_t bytes = 0;
    bool met = true;
};

Run runOnce(int lines, int definitions) {
    const auto folder = vask::bench::scratchFolder("replace-" + std::to_string(lines));
    const auto data = folder / "FF1_bench.txt";
    const auto defs = folder / "defs.csv";
    writeData(data, lines, definitions);
    vask::bench::writeFile(defs, definitionBytes(definitions));
    Run best{1e9, 1e9, std::filesystem::file_size(data)};
    for (int round = 0; round < kRounds; ++round) {
        Stopwatch loadWatch;
        const auto loaded = vask::replace::CsvSet(vask::fromPath(defs));
        const double load = loadWatch.seconds();
        Stopwatch replaceWatch;
        const auto outcome = vask::replace::Cnv(vask::fromPath(data), *loaded, folder);
        best.replace = std::min(best.replace, replaceWatch.seconds());
        best.load = std::min(best.load, load);
        if (outcome.isRefusal()) std::fprintf(stderr, "refused\n");
    }
    const double iconv =
        vask::bench::bestShell(3, "iconv -f CP932 -t UTF-8 " + vask::bench::quote(data) + " > /dev/null");
    const double cat = vask::bench::catSeconds(3, vask::bench::quote(data));
    const double sort = vask::bench::timeShell("LC_ALL=C sort " + vask::bench::quote(data) + " > /dev/null");
    const double mib = static_cast<double>(best.bytes) / (1 << 20);
    const std::string what = std::to_string(lines) + " lines, " + std::to_string(definitions) + " definitions";
    const auto tool = [&] {
        const auto loaded = vask::replace::CsvSet(vask::fromPath(defs));
        return !vask::replace::Cnv(vask::fromPath(data), *loaded, folder).isRefusal();
    };
    // One more run in a child process of its own, for the peak memory of the tool alone.
    const auto alone = vask::bench::runInChild(tool);
    const bool large = lines >= 200000;
    best.met = vask::bench::printTableRow({"record replacement", mib, what, best.load + best.replace, alone.peakMiB,
                                           "iconv CP932 to UTF-8", iconv, cat, large ? 1.00 : 0, large ? 32.0 : 0.0});
    if (large) {
        best.met = vask::bench::printRefusalRow("record replacement", mib, what, tool) && best.met;
    }
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
    // First, while this process is still small: a child starts with its parent's pages.
    const bool utf16Met = runUtf16();
    std::printf("record replacement (best of %d)\n", kRounds);
    const Run small = runOnce(100000, 25000);
    const Run large = runOnce(200000, 50000);
    std::printf("per-line cost, large / small: %.2f (1.00 = linear)\n",
                (large.replace / 200000) / (small.replace / 100000));
    return utf16Met && small.met && large.met ? 0 : 1;
}
