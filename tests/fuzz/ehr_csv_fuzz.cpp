// The EHR CSV build on arbitrary files. Input: one byte of options (bit 0: an append file
// is given), then parts separated by a line "~~~~": the merged FF1 file, the
// specification CSV, the append file, "recelist.csv" and the target year-month (UTF-8).
//   - The build raises nothing but Error; after an Error the output folder is empty.
//   - Otherwise it wrote one file, named by the trimmed year-month + "_ff1all.csv", in code
//     page 932 with CR LF after every line: the header line, one line per data ID of the
//     merged file (reference below), then the non-blank lines after the append file's
//     first line.
// Reference for the data IDs: the merged file is read as UTF-8 after a UTF-8 mark, else
// as code page 932, split at CR LF, LF or CR; blank lines are skipped; the first non-blank
// line is skipped when it is a header line; a data line has at least 5 tab-separated
// fields, a data ID (field 1, trimmed), an item code (field 3, trimmed) and a year-month
// (field 2) other than 0.
#include <cstddef>
#include <cstdint>
#include <set>

#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "ff1/ehr_csv.h"
#include "ff1/ff1_format.h"
#include "fuzz_support.h"
#include "platform/errors.h"
#include "platform/paths.h"

using namespace vask;
using namespace vask::ff1;

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

size_t dataIds(std::string_view merged) {
    TextEncoding encoding = TextEncoding::Cp932;
    if (merged.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        encoding = TextEncoding::Utf8;
        merged.remove_prefix(kUtf8Mark.size());
    }
    std::set<std::u16string> ids;
    std::u16string text;
    std::vector<std::u16string_view> fields;
    bool first = true;
    for (const std::string& line : fuzz::splitByteLines(merged)) {
        decodeLine(line, encoding, text);
        if (isBlank(text)) continue;
        const bool header = first && IsHeaderLine(text);
        first = false;
        if (header) continue;
        splitTabs(text, fields);
        if (fields.size() < 5 || trimmedView(fields[1]).empty() || trimmedView(fields[3]).empty() ||
            ParseYearMonth(fields[2]) == 0) {
            continue;
        }
        ids.emplace(trimmedView(fields[1]));
    }
    return ids.size();
}

size_t appendedLines(const std::filesystem::path& file) {
    const std::vector<std::u16string> lines = loadLines(file, TextEncoding::Cp932);
    size_t count = 0;
    for (size_t i = 1; i < lines.size(); ++i) count += isBlank(lines[i]) ? 0 : 1;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool appending = (data[0] & 1u) != 0;
    const auto parts = fuzz::splitParts(fuzz::bytesOf(data + 1, size - 1), 5);
    const std::filesystem::path in = fuzz::emptyFolder("ehr-in");
    fuzz::writeFile(in / "merged.txt", parts[0]);
    fuzz::writeFile(in / "siyo4.csv", parts[1]);
    fuzz::writeFile(in / "append.csv", parts[2]);
    if (!parts[3].empty()) fuzz::writeFile(in / "recelist.csv", parts[3]);
    const std::u16string month = fuzz::textOf(parts[4]);
    const std::filesystem::path out = fuzz::emptyFolder("ehr-out");

    std::filesystem::path written;
    try {
        written = BuildEHRCSV_FromFF1_andSpecCSV(fromPath(in / "merged.txt"), fromPath(in / "siyo4.csv"), fromPath(out),
                                                 appending ? fromPath(in / "append.csv") : u"", month);
    } catch (const Error&) {
        fuzz::require(fuzz::entryCount(out) == 0, "a failed build writes nothing");
        return 0;
    }
    fuzz::require(written == out / toPath(trim(month) + u"_ff1all.csv"), "the output is named by the month");
    fuzz::require(fuzz::entryCount(out) == 1, "the build leaves one file");
    const size_t lines = fuzz::writtenLines(fuzz::readFile(written)).size();
    const size_t expected = 1 + dataIds(parts[0]) + (appending ? appendedLines(in / "append.csv") : 0);
    fuzz::require(lines == expected, "header, one line per data ID, then the appended lines");
    return 0;
}
