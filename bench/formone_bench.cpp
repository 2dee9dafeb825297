// The second converter on generated form-1 files of 20 000 and 200 000 lines (141 fields
// each): lines per second and peak resident memory, each run in a child process of its
// own, beside the time an iconv round trip (code page 932 -> UTF-16 -> code page 932)
// takes on the same file. Targets: the conversion within 3x that round trip, and the same
// peak memory (within 5 MB) at both sizes.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "bench_support.h"
#include "formone/second_converter.h"
#include "platform/cp932.h"

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

}  // namespace

int main() {
    const auto folder = vask::bench::scratchFolder("formone");
    std::printf("second converter, form-1 files of 141 fields per line (best of 3 runs)\n");
    bool met = true;
    double firstPeak = -1;
    for (const unsigned lines : {20000u, 200000u}) {
        const auto input = folder / ("form1_" + std::to_string(lines) + ".txt");
        generate(input, lines);
        const double mib = static_cast<double>(std::filesystem::file_size(input)) / (1 << 20);
        const auto best = vask::bench::bestInChild(3, [&] {
            vask::formone::ConvertTSVtoCSV_Reorder(input, folder / "202404_carte.csv", vask::formone::ColumnOrder);
            return true;
        });
        if (!best.ok()) return 1;
        const double iconv = vask::bench::bestShell(
            3, "iconv -f CP932 -t UTF-16LE " + vask::bench::quote(input) + " | iconv -f UTF-16LE -t CP932 > /dev/null");
        const double ratio = best.seconds / iconv;
        vask::bench::printTableRow({"form-1 second converter", mib, std::to_string(lines) + " lines", best.seconds,
                                    best.peakMiB, "iconv round trip", iconv});
        met = met && iconv > 0 && ratio <= 3.0;
        if (firstPeak < 0)
            firstPeak = best.peakMiB;
        else
            met = met && best.peakMiB - firstPeak <= 5.0;
        std::filesystem::remove(input);
    }
    std::filesystem::remove(folder / "202404_carte.csv");
    std::printf("  targets met: %s\n", met ? "yes" : "NO");
    return met ? 0 : 1;
}
