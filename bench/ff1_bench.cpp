// The FF1 link (merge + EHR CSV build) on a generated folder of 24 monthly FF1 files of
// about 2 000 000 lines and 20 000 data IDs, beside `cat` of the same files and `sort` of
// their concatenation (LC_ALL=C, on one core as the link runs) in the same run. The link
// runs in a forked child, so that its peak resident memory (wait4) is its own. Targets:
// the link no slower than the sort; peak resident memory under three times the size of
// the lines that are kept; what the refusal of files that are no Shift-JIS text adds to
// the link (see printRefusalRow) at most 5 %.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "ff1/ff1_link.h"
#include "platform/cp932.h"
#include "platform/paths.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMonths = 24;
constexpr int kDataIds = 20000;
constexpr double kPresence = 0.75;  // chance that a patient has data in a month

struct Generated {
    std::vector<fs::path> files;
    size_t lines = 0;
    size_t bytes = 0;
    size_t keptBytes = 0;  // lines of every data ID's latest month, with their breaks
};

std::string sjis(std::u16string_view text) { return vask::cp932::encode(text); }

// The items of one patient's month: item code and payloads 1 to 9 (some with a label).
std::vector<std::string> itemLines(std::mt19937& random, const std::string& head) {
    static const std::string kDiagnosis = sjis(u"\t\t\t\t２型糖尿病\t診断情報");
    static const std::string kEnd = sjis(u"\t\t\t本態性高血圧症\t終診情報");
    auto pick = [&](int n) { return std::to_string(random() % n); };
    std::vector<std::string> all = {
        head + "CPP0001\t1\t19" + pick(90) + "0101\t" + std::to_string(1 + random() % 2) + "\t1" + pick(900000) +
            "\t\t\t\t\t\t",
        head + "CPF0001\t1\t" + std::to_string(145 + random() % 45) + "\t" + std::to_string(40 + random() % 60) + "." +
            pick(10) + "\t\t\t\t\t\t\t",
        head + "CPFS001\t1\t" + pick(4) + "\t" + pick(40) + "\t" + pick(50) + "\t\t\t\t\t\t",
        head + "CN00001\t1\t" + pick(2) + "\t" + pick(8) + "\t\t\t\t\t\t\t",
        head + "CD00001\t1\t1\tE119\t8846289\t\t" + kDiagnosis,
        head + "LMDM001\t1\t1\t1\t\t\t\t\t\t\t",
        head + "LMDL003\t1\t" + pick(4) + "\t" + std::to_string(60 + random() % 140) + "\t\t\t\t\t\t\t",
        head + "CDF0001\t1\t" + pick(5) + "\t2024" + pick(9) + "15\tI10\t8833421\t" + kEnd,
    };
    std::shuffle(all.begin(), all.end(), random);
    all.resize(3 + random() % 6);
    return all;
}

Generated generate(const fs::path& folder) {
    Generated data;
    std::mt19937 random(20240401);
    std::vector<int> lastMonth(kDataIds, -1);
    std::vector<size_t> lastBytes(kDataIds, 0);
    const std::string header = sjis(
        u"施設コード\tデータ識別番号\t実施年月\tコード\t連番\tペイロード1\tペイロード2\t"
        u"ペイロード3\tペイロード4\tペイロード5\tペイロード6\tペイロード7\tペイロード8\t"
        u"ペイロード9\t名称\r\n");
    for (int m = 0; m < kMonths; ++m) {
        const std::string month = std::to_string(2022 + m / 12) + (m % 12 < 9 ? "0" : "") + std::to_string(m % 12 + 1);
        const fs::path file = folder / ("G_FF1_" + month + ".txt");
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << header;
        data.bytes += header.size();
        for (int id = 0; id < kDataIds; ++id) {
            if (std::uniform_real_distribution<>(0, 1)(random) > kPresence) continue;
            char idText[16];
            std::snprintf(idText, sizeof idText, "%010d", 1000000 + id);
            size_t monthBytes = 0;
            for (const auto& line : itemLines(random, "131234567\t" + std::string(idText) + "\t" + month + "\t")) {
                out << line << "\r\n";
                monthBytes += line.size() + 2;
                ++data.lines;
            }
            data.bytes += monthBytes;
            lastMonth[static_cast<size_t>(id)] = m;
            lastBytes[static_cast<size_t>(id)] = monthBytes;
        }
        data.files.push_back(file);
    }
    for (size_t id = 0; id < lastBytes.size(); ++id) data.keptBytes += lastMonth[id] >= 0 ? lastBytes[id] : 0;
    return data;
}

// One link run over the generated folder into `out`.
bool runLink(const fs::path& in, const fs::path& out) {
    vask::ff1::FF1LinkRequest request;
    request.ff1Folder = vask::fromPath(in);
    request.specCsv = vask::fromPath(vask::executableFolder() / "siyo4.csv");
    request.outputFolder = vask::fromPath(out);
    request.targetYearMonth = u"202312";
    return !vask::ff1::runFF1Link(request).isRefusal();
}

}  // namespace

int main() {
    const fs::path root = vask::bench::scratchFolder("ff1");
    const fs::path in = root / "in";
    const fs::path out = root / "out";
    fs::remove_all(in);
    fs::create_directories(in);
    const Generated data = generate(in);
    const double mib = 1024.0 * 1024.0;
    std::printf("input: %zu files, %zu lines, %.1f MiB; kept lines %.1f MiB\n", data.files.size(), data.lines,
                static_cast<double>(data.bytes) / mib, static_cast<double>(data.keptBytes) / mib);
    std::printf("peak resident memory of this process before the runs: %.1f MiB\n", vask::bench::peakResidentMiB());

    std::string files;
    for (const auto& f : data.files) files += " " + vask::bench::quote(f);
    const double cat = vask::bench::catSeconds(3, files);
    // The link runs on one core: sort may not use the other.
    const double sort = vask::bench::bestShell(3, "LC_ALL=C sort --parallel=1" + files + " > /dev/null");
    const auto link = vask::bench::bestInChild(3, [&] { return runLink(in, out); });
    if (!link.ok()) {
        std::printf("the link failed\n");
        return 1;
    }
    const std::string what = std::to_string(data.files.size()) + " files, " + std::to_string(data.lines) + " lines";
    const double inputMiB = static_cast<double>(data.bytes) / mib;
    bool met = vask::bench::printTableRow(
        {"FF1 link", inputMiB, what, link.seconds, link.peakMiB, "sort (LC_ALL=C, one core)", sort, cat, 1.00});
    met = vask::bench::printRefusalRow("FF1 link", inputMiB, what, [&] { return runLink(in, out); }) && met;
    const double kept = static_cast<double>(data.keptBytes) / mib;
    std::printf("cat  %.3f s\nsort %.3f s (LC_ALL=C, --parallel=1)\nlink %.3f s, peak resident %.1f MiB\n", cat, sort,
                link.seconds, link.peakMiB);
    const bool memoryMet = link.peakMiB < 3 * kept;
    std::printf("memory: peak / kept lines = %.2f (target < 3): %s\n", link.peakMiB / kept,
                memoryMet ? "met" : "NOT met");
    return met && memoryMet ? 0 : 1;
}
