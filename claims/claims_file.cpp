#include "claims/claims_file.h"

#include <system_error>

#include "core/file_names.h"
#include "core/text.h"
#include "core/textfile.h"
#include "platform/errors.h"
#include "platform/paths.h"

namespace vask::claims {
namespace {

// Enough bytes for a byte-order mark and four characters in any of the loader's encodings.
constexpr size_t kKindMarkPrefix = 64;
constexpr size_t kKindMarkPosition = 3;  // the 4th character

// `name` when it is a plain file name, else `fallback`.
std::u16string plainOr(std::u16string name, std::u16string_view fallback) {
    return isPlainFileName(name) ? name : std::u16string(fallback);
}

}  // namespace

ClaimsKind kindOfExaminingBody(std::string_view field1) {
    return trimmedBytes(field1) == "2" ? ClaimsKind::National : ClaimsKind::Employee;
}

std::optional<char16_t> fileKindMark(const std::filesystem::path& file) {
    // Only the first characters matter, so only the first bytes are read and decoded the
    // way the line-list loader decodes the whole file.
    const std::string bytes = readPrefix(file, kKindMarkPrefix);
    size_t bomLength = 0;
    const TextEncoding encoding = encodingFromBom(bytes, bomLength);
    if (encoding == TextEncoding::Cp932) refuseUnlessFirstLineIsShiftJis(file);
    const std::u16string text = decodeText(std::string_view(bytes).substr(bomLength), encoding);
    const std::u16string_view firstLine = std::u16string_view(text).substr(0, text.find_first_of(u"\r\n"));
    if (firstLine.size() <= kKindMarkPosition) return std::nullopt;
    return firstLine[kKindMarkPosition];
}

ClaimsResult rewriteClaimsFile(const std::filesystem::path& programFolder, const std::filesystem::path& input,
                               RecordEditor& editor, std::u16string_view provisionalName, std::u16string_view message,
                               RewriteObserver* observer) {
    // A claims file is Shift-JIS text: UTF-16 or a marked UTF-8 file would have its
    // records pass unrecognised, and so unchanged, into the output.
    ShiftJisLineReader reader(input, LineRule::TextFile);
    std::optional<LineWriter> writer;
    std::string_view line;
    while (reader.next(line)) {
        const auto text = editor.edit(line);
        // The first record (the clinic record IR) names the output, so the writer opens
        // after it: a folder that cannot take the file is reported under that name.
        if (!writer) writer.emplace(programFolder / toPath(plainOr(editor.outputName(), provisionalName)));
        if (text && reader.linesComeBack()) {
            writer->writeEncodedLine(*text, 0);
        } else if (text) {
            writer->writeRoundTrip(*text);
        }
        if (observer) observer->rewrote(line, text);
    }
    if (!writer) writer.emplace(programFolder / toPath(provisionalName));
    // The name comes from the file's content (its billing month).
    const std::u16string name = editor.outputName();
    const std::filesystem::path target = outputPath(programFolder, name, {.inputs = {input}});
    writer->commit(target);
    return {Outcome::wrote({target}, std::u16string(message)), editor.kind(), name};
}

}  // namespace vask::claims
