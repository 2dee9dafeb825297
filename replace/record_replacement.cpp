#include "replace/record_replacement.h"

#include <initializer_list>
#include <system_error>

#include "core/delimited_text.h"
#include "core/file_names.h"
#include "core/text.h"
#include "platform/paths.h"
#include "replace/input_lines.h"

namespace vask {
namespace {

constexpr size_t kKeyItem = 1;

// The copy's path in `folder`, away from every one of the run's input files.
std::filesystem::path outputPath(std::u16string_view pstFile, const std::filesystem::path& folder,
                                 std::initializer_list<std::filesystem::path> inputs) {
    std::u16string name = replacedFileName(pstFile);
    requirePlainFileName(name);
    auto isAnInput = [&](const std::filesystem::path& path) {
        for (const auto& input : inputs) {
            if (sameFile(path, input)) return true;
        }
        return false;
    };
    while (isAnInput(folder / toPath(name))) name = insertBeforeExtension(name, u"R");
    return folder / toPath(name);
}

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
    if (!fileExists(input)) return Outcome::refused(kNoInputFile);
    InputLines lines(input);
    std::u16string line;
    if (!lines.next(line)) {
        if (linesRead) *linesRead = 0;
        return Outcome::refused(kNotAnFFFile);
    }
    LineWriter writer(outputPath(pstFile, programFolder, {input, definitions.sourceFile()}));
    size_t count = 0;
    do {
        writer.writeLine(replaceLine(line, definitions));
        ++count;
    } while (lines.next(line));
    writer.commit();
    if (linesRead) *linesRead = count;
    const std::u16string name = fromPath(writer.target().filename());
    return Outcome::wrote({writer.target()}, name + u"が作成されました");
}

}  // namespace vask
