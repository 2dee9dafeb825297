// The record replacement run on arbitrary files. Input parts (separated by a line
// "~~~~"): the data file, then the change-definition file.
//   - CsvSet reads one pair per line of the definition file as the claims reader splits
//     it (CR or LF, up to 0x1A); from the second pair on both values have at least ten
//     units (filled with zeros).
//   - Cnv refuses an input without any line and writes nothing then. Otherwise it writes
//     one file, "dataR.txt", with replaceLine of each input line (the line-list loader's
//     lines) in code page 932, CR LF after each, and reports the count of lines read.
#include <cstddef>
#include <cstdint>

#include "core/outcome.h"
#include "core/textfile.h"
#include "fuzz_support.h"
#include "platform/cp932.h"
#include "platform/paths.h"
#include "replace/change_definitions.h"
#include "replace/record_replacement.h"

using namespace vask;
using namespace vask::replace;

namespace {

size_t claimsReaderLines(const std::filesystem::path& file) {
    size_t count = 0;
    Cp932LineReader reader(file, LineRule::TextFile);
    for (std::u16string line; reader.next(line);) ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = fuzz::splitParts(fuzz::bytesOf(data, size), 2);
    const std::filesystem::path in = fuzz::scratchFolder();
    fuzz::writeFile(in / "data.txt", parts[0]);
    fuzz::writeFile(in / "definitions.csv", parts[1]);
    const std::filesystem::path out = fuzz::emptyFolder("replace-out");

    std::optional<ChangeDefinitions> definitions;
    if (fuzz::refusedAsNoShiftJis([&] { definitions = CsvSet(fromPath(in / "definitions.csv")); }, {parts[1]}))
        return 0;
    fuzz::require(definitions.has_value(), "an existing definition file is read");
    fuzz::require(definitions->size() == claimsReaderLines(in / "definitions.csv"), "one pair per line");
    for (size_t i = 1; i < definitions->size(); ++i) {
        fuzz::require(definitions->oldValues()[i].size() >= 10 && definitions->newValues()[i].size() >= 10,
                      "later values are filled to ten units");
    }

    size_t linesRead = 0;
    std::optional<Outcome> ran;
    if (fuzz::refusedAsNoShiftJis([&] { ran = Cnv(fromPath(in / "data.txt"), *definitions, out, &linesRead); },
                                  {parts[0]})) {
        return 0;
    }
    const Outcome& outcome = *ran;
    const std::vector<std::u16string> lines = LoadLineList(in / "data.txt");
    fuzz::require(linesRead == lines.size(), "the count of lines read is the input's");
    if (lines.empty()) {
        fuzz::require(outcome.isRefusal() && fuzz::entryCount(out) == 0, "an input without lines is refused");
        return 0;
    }
    fuzz::require(!outcome.isRefusal() && fuzz::entryCount(out) == 1, "a run writes one file");
    std::string expected;
    for (const auto& line : lines) expected += cp932::encode(replaceLine(line, *definitions)) + "\r\n";
    fuzz::require(fuzz::readFile(out / "dataR.txt") == expected, "the copy holds every line replaced");
    return 0;
}
