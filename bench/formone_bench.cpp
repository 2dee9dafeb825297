// The form-1 converters on generated form-1 files of 20 000 and 200 000 lines (141 fields
// each, every chart number distinct), each run in a child process of its own for its peak
// resident memory, beside the time an iconv round trip (code page 932 -> UTF-16 -> code
// page 932) takes on the same file:
// - the second converter alone: within 3x that round trip, and the same peak memory
//   (within 5 MB) at both sizes;
// - the first converter: peak memory under 32 MB, and on 200 000 lines within that round
//   trip's time;
// - vask-cli carte2 without --month (choosing the file for its year-month, then the
//   second converter): peak memory under 32 MB, at most 8 MB above that of 20 000 lines.
// On 200 000 lines, what the refusal of files that are no Shift-JIS text adds to each
// (see printRefusalRow): at most 5 %.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <utility>

#include "bench_support.h"
#include "formone/first_converter.h"
#include "formone/form1_file.h"
#include "formone/second_converter.h"
#include "platform/cp932.h"
#include "platform/paths.h"

namespace {

const std::u16string kNames[] = {u"山田　太郎", u"佐藤　花子", u"髙橋　一郎",   u"鈴木　美咲",
                                 u"渡辺　健",   u"ﾔﾏﾓﾄ ﾕｳｷ",   u"伊藤　さくら", u"中村　翔太"};
const std::u16string kDiseases[] = {u"本態性高血圧症", u"２型糖尿病", u"脂質異常症", u"", u"慢性腎臓病"};

// One realistic record line: chart number, name, year-month, postal code, body and
// laboratory values, codes, dates, disease names and free columns.
std::u16string recordLine(unsigned n) {
    std::u16string line;
    for (unsigned p = 0; p < 141; ++p) {
        if (p > 0) line += u'\t';
        const unsigned v = n * 31 + p * 7;
        switch (p) {
            case 0:
                line += vask::cp932::decode(std::to_string(100000 + n));
                break;
            case 1:
                line += kNames[n % std::size(kNames)];
                break;
            case 3:
                line += u"202404";
                break;
            case 5:
                line += u"1000001";
                break;
            case 6:
                line += vask::cp932::decode(std::to_string(150 + n % 40));
                break;
            case 7:
                line += vask::cp932::decode(std::to_string(45 + n % 40) + "." + std::to_string(n % 10));
                break;
            case 22:
            case 52:
                line += vask::cp932::decode(std::to_string(5 + n % 3) + "." + std::to_string(n % 10));
                break;
            case 31:
            case 32:
            case 37:
                line += vask::cp932::decode(std::to_string(70 + v % 90));
                break;
            case 14:
            case 80:
            case 138:
                line += u"20240110";
                break;
            case 18:
            case 59:
            case 73:
            case 87:
                line += kDiseases[v % std::size(kDiseases)];
                break;
            case 60:
                line += u"0101010101010";
                break;
            case 140:
                line += u"01010101010101";
                break;
            default:
                line += static_cast<char16_t>(u'0' + v % 10);
                break;
        }
    }
    return line;
}

void generate(const std::filesystem::path& file, unsigned lines) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    std::string bytes = vask::cp932::encode(u"カルテ番号\t患者氏名\t…") + "\r\n";
    for (unsigned n = 0; n < lines; ++n) {
        vask::cp932::encodeAppend(recordLine(n), bytes);
        bytes += "\r\n";
        if (bytes.size() > (1u << 20)) {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            bytes.clear();
        }
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

constexpr unsigned kLargeFile = 200000;

struct Sizes {
    double firstPeak = -1;  // the peak of the first size, to compare the second with
};

// Prints the row and says whether the peak stays under `limitMiB` and, when `growthMiB`
// is given, within that much of the first size's peak; on the large file, whether the
// run is no slower than the iconv round trip.
bool row(const std::string& operation, double mib, unsigned lines, const vask::bench::ChildRun& run, double iconv,
         double cat, double limitMiB, double growthMiB, Sizes& sizes) {
    const double maxRatio = lines == kLargeFile ? 1.00 : 0;
    bool met = vask::bench::printTableRow({operation, mib, std::to_string(lines) + " lines", run.seconds, run.peakMiB,
                                           "iconv round trip", iconv, cat, maxRatio});
    met = met && run.peakMiB < limitMiB;
    if (sizes.firstPeak < 0) {
        sizes.firstPeak = run.peakMiB;
    } else if (growthMiB > 0) {
        met = met && run.peakMiB - sizes.firstPeak <= growthMiB;
    }
    return met;
}

}  // namespace

int main() {
    namespace formone = vask::formone;
    const auto folder = vask::bench::scratchFolder("formone");
    std::printf("form-1 converters, form-1 files of 141 fields per line (best of 3 runs)\n");
    bool met = true;
    Sizes second;
    Sizes first;
    Sizes carte2;
    for (const unsigned lines : {20000u, kLargeFile}) {
        const auto input = folder / ("form1_" + std::to_string(lines) + ".txt");
        generate(input, lines);
        const double mib = static_cast<double>(std::filesystem::file_size(input)) / (1 << 20);
        const double iconv = vask::bench::bestShell(
            3, "iconv -f CP932 -t UTF-16LE " + vask::bench::quote(input) + " | iconv -f UTF-16LE -t CP932 > /dev/null");
        met = met && iconv > 0;
        const double cat = vask::bench::catSeconds(3, vask::bench::quote(input));

        const auto reorderWork = [&] {
            formone::ConvertTSVtoCSV_Reorder(input, folder / "202404_carte.csv", formone::ColumnOrder);
            return true;
        };
        const auto reorder = vask::bench::bestInChild(3, reorderWork);
        met = row("form-1 second converter", mib, lines, reorder, iconv, cat, 1e9, 5.0, second) && met;

        const auto converterWork = [&] {
            return !formone::runFirstConverter(vask::fromPath(input), folder).isRefusal();
        };
        const auto converter = vask::bench::bestInChild(3, converterWork);
        met = row("form-1 first converter", mib, lines, converter, iconv, cat, 32.0, 0, first) && met;

        const auto chosenWork = [&] {
            const auto choice = formone::chooseFormOne(input);
            return choice.accepted() &&
                   !formone::runSecondConverter(vask::fromPath(input), choice.yearMonth(), folder, std::nullopt)
                        .isRefusal();
        };
        const auto chosen = vask::bench::bestInChild(3, chosenWork);
        met = row("form-1 carte2 (choosing + conversion)", mib, lines, chosen, iconv, cat, 32.0, 8.0, carte2) && met;
        if (lines == kLargeFile) {
            const std::pair<const char*, std::function<bool()>> tools[] = {
                {"form-1 second converter", reorderWork},
                {"form-1 first converter", converterWork},
                {"form-1 carte2 (choosing + conversion)", chosenWork}};
            for (const auto& [operation, work] : tools) {
                met = vask::bench::printRefusalRow(operation, mib, std::to_string(lines) + " lines", work) && met;
            }
        }
        std::filesystem::remove(input);
    }
    std::filesystem::remove(folder / "202404_carte.csv");
    std::printf("  targets met: %s\n", met ? "yes" : "NO");
    return met ? 0 : 1;
}
