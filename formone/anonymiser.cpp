#include "formone/anonymiser.h"

#include <optional>
#include <system_error>
#include <vector>

#include "core/file_names.h"
#include "core/messages.h"
#include "core/text.h"
#include "core/text_formats.h"
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

// Digits of a postal code: ASCII and full-width, each with its own zero.
constexpr size_t kKeptPostalDigits = 3;
std::optional<char16_t> zeroOfDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return u'0';
    if (c >= u'０' && c <= u'９') return u'０';
    return std::nullopt;
}

// The pseudonymisation profile's record line: the pseudonym of the chart number, no name,
// the masked postal code, every other field as it is. A line without a tab stays as it is,
// as in the written profile.
std::u16string_view pseudonymised(std::u16string_view line, ChartPseudonyms& pseudonyms,
                                  std::vector<std::u16string_view>& fields, std::u16string& out) {
    splitTabs(line, fields);
    if (fields.size() <= kNameField) return line;
    out.clear();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += u'\t';
        if (i == kChartNumberField) {
            out += pseudonyms.pseudonymOf(fields[i]);
        } else if (i == kPostalCodeField) {
            out += maskedPostalCode(fields[i]);
        } else if (i != kNameField) {
            out += fields[i];
        }
    }
    return out;
}

}  // namespace

std::u16string anonymisedFileName(std::u16string_view pathText) {
    return replaceAll(fileNamePart(pathText), u".txt", u"ano.txt");
}

std::u16string maskedPostalCode(std::u16string_view postalCode) {
    std::u16string masked(postalCode);
    size_t digits = 0;
    for (char16_t& c : masked) {
        const auto zero = zeroOfDigit(c);
        if (zero && ++digits > kKeptPostalDigits) c = *zero;
    }
    return masked;
}

void BlankSecondColumn(const std::filesystem::path& InputFile, const std::filesystem::path& OutputFile,
                       ChartPseudonyms* pseudonyms) {
    // Read byte by byte, a UTF-16 file would keep parts of its names: the tab and line
    // breaks that find the name field also occur inside its characters.
    Cp932LineReader reader(InputFile, LineRule::AnyBreak, Cp932Input::ShiftJisText);
    LineWriter writer(OutputFile);
    std::u16string line;
    std::u16string out;
    std::vector<std::u16string_view> fields;
    if (reader.next(line)) writer.writeLine(line);  // the header stays as it is
    while (reader.next(line)) {
        writer.writeLine(pseudonyms ? pseudonymised(line, *pseudonyms, fields, out) : withoutName(line, out));
    }
    writer.commit();
}

Outcome runAnonymiser(std::u16string_view pathText, const std::filesystem::path& programFolder,
                      ChartPseudonyms* pseudonyms) {
    if (isBlank(pathText)) return Outcome::refused(msg::kNoFileChosen);
    const auto input = toPath(pathText);
    // A name without ".txt" in the program folder would name the input itself: the copy
    // then gets "ano" before its extension.
    const auto target =
        outputPath(programFolder, anonymisedFileName(pathText), {.inputs = {input}, .markerOnInput = u"ano"});
    BlankSecondColumn(input, target, pseudonyms);
    return Outcome::wrote({target}, msg::created(fromPath(target.filename())));
}

}  // namespace vask::formone
