#include "replace/record_replacement.h"

#include <initializer_list>
#include <system_error>

#include "core/file_names.h"
#include "core/messages.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "platform/paths.h"
#include "replace/input_lines.h"

namespace vask::replace {
namespace {

constexpr size_t kKeyItem = 1;

}  // namespace

std::u16string replaceLine(std::u16string_view line, const ChangeDefinitions& definitions) {
    std::u16string item;
    if (!delimitedTextItem(line, kKeyItem, item) || item.empty()) return std::u16string(line);
    const std::u16string_view key = trimmedView(item);
    const std::u16string* newValue = definitions.newValueFor(key);
    return newValue ? replaceAll(line, key, *newValue) : std::u16string(line);
}

std::u16string replacedFileName(std::u16string_view inputPath) {
    return replaceAll(fileNamePart(inputPath), u".txt", u"R.txt");
}

Outcome Cnv(std::u16string_view pstFile, const ChangeDefinitions& definitions,
            const std::filesystem::path& programFolder, size_t* linesRead) {
    const std::filesystem::path input = toPath(pstFile);
    if (!fileExists(input)) return Outcome::refused(msg::kNoFile);
    InputLines lines(input);
    std::u16string line;
    if (!lines.next(line)) {
        if (linesRead) *linesRead = 0;
        return Outcome::refused(msg::kNotFormOneFile);
    }
    // The copy never replaces the data file or the definitions: it gets another "R".
    LineWriter writer(outputPath(programFolder, replacedFileName(pstFile),
                                 {.inputs = {input, definitions.sourceFile()}, .markerOnInput = u"R"}));
    size_t count = 0;
    do {
        writer.writeLine(replaceLine(line, definitions));
        ++count;
    } while (lines.next(line));
    writer.commit();
    if (linesRead) *linesRead = count;
    const std::u16string name = fromPath(writer.target().filename());
    Outcome outcome = Outcome::wrote({writer.target()}, msg::created(name));
    warnOfLostCharacters(outcome, writer.lost());
    return outcome;
}

}  // namespace vask::replace
