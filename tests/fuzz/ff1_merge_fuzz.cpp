// The FF1 merge on arbitrary files, against a reference of its line handling. Input: one
// byte of options (bit 0: the input is assumed Shift-JIS; bit 1: the output follows the
// first file's encoding; bit 2: the files are named .tsv instead of .txt), then up to
// three FF1 files separated by a line "~~~~".
// Reference, with each file read in its detected encoding (UTF-8 after a UTF-8 mark) and
// split at CR LF, LF or CR: blank lines are skipped; a header line (IsHeaderLine) is kept
// only when it is the first of the run; a data line has at least 10 tab-separated fields,
// a data ID (field 1, trimmed) and a year-month (field 2) other than 0. Then:
//   - the merge raises nothing and writes CR LF after every line, in UTF-8 with its mark
//     or in code page 932 as the options say;
//   - the first line is the kept header line, when there is one;
//   - the other lines are exactly the data lines whose year-month is the largest of their
//     data ID, each as its bytes re-encoded into the output encoding, ordered by data ID
//     ignoring ASCII letter case.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>

#include "core/text.h"
#include "core/text_formats.h"
#include "ff1/ff1_format.h"
#include "ff1/ff1_merge.h"
#include "fuzz_support.h"
#include "platform/paths.h"

using namespace vask;
using namespace vask::ff1;

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

struct DataLine {
    std::u16string id;
    int32_t yearMonth;
    std::string output;  // the line as the merge writes it (without its break)
};

struct Expected {
    std::optional<std::string> header;
    std::vector<DataLine> lines;
};

Expected reference(const std::vector<std::filesystem::path>& files, const std::vector<std::string_view>& contents,
                   bool shiftJis, TextEncoding output) {
    Expected expected;
    std::u16string text;
    std::vector<std::u16string_view> fields;
    for (size_t f = 0; f < files.size(); ++f) {
        const TextEncoding encoding = DetectEncodingFromFile(files[f], shiftJis);
        std::string_view bytes = contents[f];
        if (encoding == TextEncoding::Utf8 && bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
            bytes.remove_prefix(kUtf8Mark.size());
        }
        for (const std::string& line : fuzz::splitByteLines(bytes)) {
            decodeLine(line, encoding, text);
            std::string reencoded;
            appendReencoded(line, encoding, output, reencoded);
            if (isBlank(text)) continue;
            if (IsHeaderLine(text)) {
                if (!expected.header) expected.header = reencoded;
                continue;
            }
            splitTabs(text, fields);
            if (fields.size() < 10) continue;
            const std::u16string id(trimmedView(fields[1]));
            const int32_t yearMonth = ParseYearMonth(fields[2]);
            if (id.empty() || yearMonth == 0) continue;
            expected.lines.push_back({id, yearMonth, reencoded});
        }
    }
    std::map<std::u16string, int32_t> latest;
    for (const auto& line : expected.lines) {
        auto [it, added] = latest.try_emplace(line.id, line.yearMonth);
        if (!added) it->second = std::max(it->second, line.yearMonth);
    }
    std::erase_if(expected.lines, [&](const DataLine& line) { return line.yearMonth != latest[line.id]; });
    return expected;
}

std::u16string asciiUpper(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 0x20);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool shiftJis = true;  // files without the UTF-8 mark are Shift-JIS
    const std::string extension = (data[0] & 4u) ? ".tsv" : ".txt";
    const auto contents = fuzz::splitParts(fuzz::bytesOf(data + 1, size - 1), 3);
    const std::filesystem::path in = fuzz::emptyFolder("ff1-in");
    std::vector<std::filesystem::path> files;
    for (size_t f = 0; f < contents.size(); ++f) {
        files.push_back(in / ("G_FF1_" + std::to_string(f) + extension));
        fuzz::writeFile(files.back(), contents[f]);
    }
    const std::filesystem::path target = fuzz::scratchFolder() / "merged.txt";
    const auto merge = [&] { MergeFF1Latest(fromPath(in), fromPath(target)); };
    if (fuzz::refusedAsNoShiftJis(merge, contents)) return 0;

    const TextEncoding output = DetectEncodingFromFile(files.front(), shiftJis);
    std::string written = fuzz::readFile(target);
    if (output == TextEncoding::Utf8) {
        fuzz::require(written.starts_with(kUtf8Mark), "UTF-8 output has its mark");
        written.erase(0, kUtf8Mark.size());
    }
    std::vector<std::string> lines = fuzz::writtenLines(written);
    const Expected expected = reference(files, contents, shiftJis, output);
    if (expected.header) {
        fuzz::require(!lines.empty() && lines.front() == *expected.header, "the first header line leads");
        lines.erase(lines.begin());
    }
    std::vector<std::string> expectedLines;
    for (const auto& line : expected.lines) expectedLines.push_back(line.output);
    std::vector<std::string> sortedLines = lines;
    std::sort(sortedLines.begin(), sortedLines.end());
    std::sort(expectedLines.begin(), expectedLines.end());
    fuzz::require(sortedLines == expectedLines, "the lines of each data ID's latest month are kept");

    // The order: the data IDs of the kept lines, in output order, never go down. The ID of
    // an output line is its input line's (re-encoding may change it); a line whose bytes
    // several IDs could have written is left out of this check.
    std::map<std::string, std::set<std::u16string>> idsOfBytes;
    for (const auto& line : expected.lines) idsOfBytes[line.output].insert(asciiUpper(line.id));
    std::vector<std::u16string> order;
    for (const auto& line : lines) {
        const auto& ids = idsOfBytes[line];
        if (ids.size() == 1) order.push_back(*ids.begin());
    }
    fuzz::require(std::is_sorted(order.begin(), order.end()), "data IDs ascend ignoring ASCII case");
    return 0;
}
