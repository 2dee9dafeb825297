#include "formone/anonymiser.h"

#include <system_error>

#include "core/file_names.h"
#include "core/messages.h"
#include "core/text.h"
#include "core/textfile.h"
#include "formone/form1_file.h"
#include "platform/paths.h"

namespace vask::formone {
namespace {

// The line with its second tab-separated field emptied; a line without a tab (one field,
// or an empty line) stays as it is.
std::u16string_view withoutName(std::u16string_view line, std::u16string& out) {
    const size_t firstTab = line.find(u'\t');
    if (firstTab == std::u16string_view::npos) return line;
    const size_t secondTab = line.find(u'\t', firstTab + 1);
    out.assign(line.substr(0, firstTab + 1));
    if (secondTab != std::u16string_view::npos) out += line.substr(secondTab);
    return out;
}

}  // namespace

std::u16string anonymisedFileName(std::u16string_view pathText) {
    return replaceAll(fileNamePart(pathText), u".txt", u"ano.txt");
}

void BlankSecondColumn(const std::filesystem::path& InputFile, const std::filesystem::path& OutputFile) {
    // Read byte by byte, a UTF-16 file would keep parts of its names: the tab and line
    // breaks that find the name field also occur inside its characters.
    Cp932LineReader reader(InputFile, LineRule::AnyBreak, Cp932Input::ShiftJisText);
    LineWriter writer(OutputFile);
    std::u16string line;
    std::u16string out;
    if (reader.next(line)) writer.writeLine(line);  // the header stays as it is
    while (reader.next(line)) writer.writeLine(withoutName(line, out));
    writer.commit();
}

Outcome runAnonymiser(std::u16string_view pathText, const std::filesystem::path& programFolder) {
    if (isBlank(pathText)) return Outcome::refused(msg::kNoFileChosen);
    const auto input = toPath(pathText);
    // A name without ".txt" in the program folder would name the input itself: the copy
    // then gets "ano" before its extension.
    const auto target =
        outputPath(programFolder, anonymisedFileName(pathText), {.inputs = {input}, .markerOnInput = u"ano"});
    BlankSecondColumn(input, target);
    return Outcome::wrote({target}, msg::created(fromPath(target.filename())));
}

}  // namespace vask::formone
