// splitQuotedCsv and LoadSpecCSV. The input is used twice: as a line for splitQuotedCsv (UTF-8), and
// as the bytes of a specification CSV.
//   - splitQuotedCsv: the cells are the line's text with every unquoted comma a separator and
//     the quoting removed, so the cells joined by commas hold no more units than the line;
//     it reads CommaText back (for a non-empty list of fields, the line cut at U+001E):
//     a field CommaText leaves unquoted has no comma or quote, and a quoted one is read
//     with its doubled quotes as one.
//   - ExtractIndexFromBracket never fails. (Its result may be any integer: "[-5]" and the
//     hexadecimal "[xAAAAAAAA]" read as negative numbers, which no column has.)
//   - LoadSpecCSV raises nothing but Error, and gives exactly 89 headers, header n being
//     "[n]" or a title that names column n; every mapping key is "code|p" with p from 1
//     to 9 and maps to a column from 0 to 88.
#include <cstddef>
#include <cstdint>

#include "core/text.h"
#include "core/text_formats.h"
#include "ff1/spec_csv.h"
#include "fuzz_support.h"
#include "platform/errors.h"

using namespace vask;
using namespace vask::ff1;

namespace {

void checkParse(std::u16string_view line) {
    const std::vector<std::u16string> cells = splitQuotedCsv(line);
    fuzz::require(!cells.empty(), "a line has a cell");
    size_t units = cells.size() - 1;
    for (const auto& cell : cells) units += cell.size();
    fuzz::require(units <= line.size(), "the cells come from the line");
    ExtractIndexFromBracket(line);

    std::vector<std::u16string_view> parts;
    splitOn(line, u'\x1E', parts);
    if (parts.empty()) return;
    const std::vector<std::u16string> fields(parts.begin(), parts.end());
    fuzz::require(splitQuotedCsv(CommaText(fields)) == fields, "splitQuotedCsv reads CommaText back");
}

void checkLoad(std::string_view bytes) {
    const std::filesystem::path file = fuzz::scratchFolder() / "siyo4.csv";
    fuzz::writeFile(file, bytes);
    SpecCsv columns;
    try {
        columns = LoadSpecCSV(file);
    } catch (const Error&) {
        return;
    }
    fuzz::require(columns.Headers.size() == kOutputColumns, "89 headers");
    for (int n = 0; n < kOutputColumns; ++n) {
        const std::u16string& header = columns.Headers[static_cast<size_t>(n)];
        fuzz::require(ExtractIndexFromBracket(header) == n, "a header names its column");
    }
    for (const auto& [key, column] : columns.MapCodePayloadToIndex) {
        fuzz::require(column >= 0 && column < kOutputColumns, "a mapped column exists");
        const size_t bar = key.rfind(u'|');
        fuzz::require(
            bar != std::u16string::npos && bar > 0 && key.size() == bar + 2 && key.back() >= u'1' && key.back() <= u'9',
            "a key is code|payload");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    checkParse(fuzz::textOf(bytes));
    checkLoad(bytes);
    return 0;
}
