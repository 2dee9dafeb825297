#include "formone/form1_file.h"

#include "core/file_names.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "platform/errors.h"

namespace vask::formone {

std::vector<std::u16string> loadFormOne(const std::filesystem::path& file) {
    return LoadLineList(file, Cp932Input::ShiftJisText);
}

std::u16string GetNgt(std::u16string_view InFileLine) {
    std::vector<std::u16string_view> fields;
    splitTabs(InFileLine, fields);
    if (fields.size() < 4) throw Error(msg::rangeCheck());
    return std::u16string(fields[3]);
}

std::u16string FormOneChoice::yearMonth() const {
    constexpr size_t kFirstRecord = 1;
    if (!secondLine) throwListIndex(kFirstRecord);
    return GetNgt(*secondLine);
}

FormOneChoice chooseFormOne(const std::filesystem::path& file) {
    FormOneChoice choice;
    TextLineReader lines(file, Cp932Input::ShiftJisText);
    if (!lines.bytewise()) {
        for (std::u16string line; lines.next(line);) {
            if (++choice.lineCount == 2) choice.secondLine = line;
        }
        return choice;
    }
    // Only line 2 is decoded; the others are counted (and checked, as the reader checks
    // every byte of a file without a mark).
    for (std::string_view line; lines.next(line);) {
        if (++choice.lineCount != 2) continue;
        choice.secondLine.emplace();
        lines.decodeAppend(line, *choice.secondLine);
    }
    return choice;
}

std::optional<std::u16string> chosenYearMonth(const std::filesystem::path& file) {
    const FormOneChoice choice = chooseFormOne(file);
    if (!choice.accepted()) return std::nullopt;
    return choice.yearMonth();
}

std::u16string carteFileName(std::u16string_view mstNgt) {
    std::u16string name(mstNgt);
    name += u"_carte.csv";
    return name;
}

}  // namespace vask::formone
