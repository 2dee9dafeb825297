#include "replace/change_definitions.h"

#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "platform/paths.h"

namespace vask::replace {
namespace {
constexpr size_t kFilledWidth = 10;
}

void ChangeDefinitions::add(std::u16string oldValue, std::u16string newValue) {
    firstIndex_.try_emplace(upperCase(oldValue), oldValues_.size());
    oldValues_.push_back(std::move(oldValue));
    newValues_.push_back(std::move(newValue));
}

const std::u16string* ChangeDefinitions::newValueFor(std::u16string_view key) const {
    const auto found = firstIndex_.find(upperCase(key));
    return found == firstIndex_.end() ? nullptr : &newValues_[found->second];
}

std::u16string zeroFilled(std::u16string_view value) {
    std::u16string filled;
    if (value.size() < kFilledWidth) filled.assign(kFilledWidth - value.size(), u'0');
    filled.append(value);
    return filled;
}

std::optional<ChangeDefinitions> CsvSet(std::u16string_view pstFile) {
    const std::filesystem::path file = toPath(pstFile);
    if (!fileExists(file)) return std::nullopt;
    ChangeDefinitions definitions(file);
    // A UTF-16 or marked UTF-8 file would give keys that match nothing: a run that
    // silently replaces nothing.
    Cp932LineReader reader(file, LineRule::TextFile, Cp932Input::ShiftJisText);
    std::vector<std::u16string> items;
    std::u16string line;
    for (size_t lineNumber = 1; reader.next(line); ++lineNumber) {
        items.clear();
        GetCommaTxt(line, items);
        // A line without a comma has no second item: its pair gets an empty new value,
        // which from the second line on is filled like any other value (ten zeros).
        std::u16string oldValue = trim(items[0]);
        std::u16string newValue = items.size() > 1 ? trim(items[1]) : std::u16string();
        if (lineNumber >= 2) {
            oldValue = zeroFilled(oldValue);
            newValue = zeroFilled(newValue);
        }
        definitions.add(std::move(oldValue), std::move(newValue));
    }
    return definitions;
}

}  // namespace vask::replace
