// What the two claims fuzz targets share: a run of a claims tool on arbitrary file
// contents, and the checks every run must pass.
//   - A run raises nothing but Error; on an Error or a refusal nothing is in the program
//     folder (no output, no temporary file).
//   - A written run leaves exactly one file, the one its result names, with a plain name.
//     Its lines are the input's lines as the claims reader reads them (code page 932, CR or
//     LF, up to 0x1A), minus those the tool drops, each followed by CR LF.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "claims/claims_file.h"
#include "claims/claims_record.h"
#include "core/file_names.h"
#include "core/textfile.h"
#include "fuzz_support.h"
#include "platform/errors.h"
#include "platform/paths.h"

namespace vask::fuzz {

// Runs `tool` (program folder, input path) on `content` and checks the run. `dropped`
// tells which input lines the tool leaves out.
inline void checkClaimsRun(
    std::string_view content,
    const std::function<claims::ClaimsResult(const std::filesystem::path&, std::u16string_view)>& tool,
    const std::function<bool(std::u16string_view)>& dropped) {
    const std::filesystem::path input = emptyFolder("claims-in") / "RECEIPTC.UKE";
    writeFile(input, content);
    const std::filesystem::path out = emptyFolder("claims-out");
    std::optional<claims::ClaimsResult> run;
    try {
        run = tool(out, fromPath(input));
    } catch (const Error&) {
        require(entryCount(out) == 0, "a failed run writes nothing");
        return;
    }
    const claims::ClaimsResult& result = *run;
    if (result.outcome.isRefusal()) {
        require(entryCount(out) == 0, "a refused run writes nothing");
        return;
    }
    require(isPlainFileName(result.fileName), "the output name is plain");
    require(entryCount(out) == 1 && fileExists(out / toPath(result.fileName)), "the run leaves its one output");

    size_t kept = 0;
    Cp932LineReader reader(input, LineRule::TextFile);
    for (std::u16string line; reader.next(line);) kept += dropped(line) ? 0 : 1;
    const size_t lines = writtenLines(readFile(out / toPath(result.fileName))).size();
    require(lines == kept, "one written line per kept input line");
}

}  // namespace vask::fuzz
