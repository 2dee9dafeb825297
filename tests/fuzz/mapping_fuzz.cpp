// The column mapping step (ConvertTSVWithMapping) on arbitrary files. Input parts
// (separated by a line "~~~~"): the form-1 file (read by its byte-order mark, as the
// line-list loader reads it), then the mapping file.
//   - An input without any line gives false and no output file.
//   - Otherwise one output line per input line (CR LF after each). The header keeps the
//     cells the mapping does not map to the empty title; a data line has at most as many
//     fields as the header kept cells.
//   - With an empty mapping file the header comes through unchanged (decoded and encoded
//     again in code page 932), and so does every data line, cut after as many fields as
//     the header has cells (fields beyond the header's columns belong to no column).
#include <cstddef>
#include <cstdint>

#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "formone/mapping.h"
#include "fuzz_support.h"
#include "platform/cp932.h"

using namespace vask;
using namespace vask::formone;

namespace {

size_t keptCells(std::u16string_view header, const ColumnMapping& mapping) {
    std::vector<std::u16string_view> cells;
    splitTabs(header, cells);
    size_t kept = 0;
    for (const auto cell : cells) {
        const auto found = mapping.find(NormalizeKey(cell));
        kept += found == mapping.end() || !found->second.empty() ? 1 : 0;
    }
    return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = fuzz::splitParts(fuzz::bytesOf(data, size), 2);
    const std::filesystem::path in = fuzz::scratchFolder();
    fuzz::writeFile(in / "form1.tsv", parts[0]);
    fuzz::writeFile(in / "movacal.csv", parts[1]);
    const std::filesystem::path out = fuzz::emptyFolder("mapping-out");
    const std::filesystem::path output = out / "output.tsv";

    bool wrote = false;
    const auto map = [&] { wrote = ConvertTSVWithMapping(in / "form1.tsv", output, in / "movacal.csv"); };
    if (fuzz::refusedAsNoShiftJis(map, {parts[0], parts[1]})) return 0;
    // The input is read as the line-list loader reads it (by its byte-order mark).
    const std::vector<std::u16string> inputLines = LoadLineList(in / "form1.tsv");
    fuzz::require(wrote == !inputLines.empty(), "only an input without lines gives false");
    if (!wrote) {
        fuzz::require(fuzz::entryCount(out) == 0, "no output without input lines");
        return 0;
    }
    const std::vector<std::string> written = fuzz::writtenLines(fuzz::readFile(output));
    fuzz::require(written.size() == inputLines.size(), "one output line per input line");
    if (parts[1].empty()) {
        std::vector<std::u16string_view> cells;
        const std::u16string& header = inputLines[0];
        splitTabs(header, cells);
        for (size_t i = 0; i < written.size(); ++i) {
            std::u16string line = inputLines[i];
            size_t at = 0;
            for (size_t n = 0; n < cells.size() && at != line.npos; ++n) at = line.find(u'\t', at + (n ? 1 : 0));
            if (at != line.npos) line.resize(at);
            fuzz::require(written[i] == cp932::encode(line), "no mapping changes nothing but the extra fields");
        }
        return 0;
    }
    const size_t kept = keptCells(inputLines[0], loadColumnMapping(in / "movacal.csv"));
    std::vector<std::u16string_view> fields;
    for (size_t i = 1; i < written.size(); ++i) {
        const std::u16string line = cp932::decode(written[i]);
        splitTabs(line, fields);
        fuzz::require(fields.size() <= kept, "a data line has at most the kept fields");
    }
    return 0;
}
