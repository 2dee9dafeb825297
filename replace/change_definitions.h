// The change-definition file of the record replacement: one pair of an old and a new value
// per line, comma-separated. From the second line on both values are filled with leading
// zeros to ten characters; when several lines carry the same old value, the first wins.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vask::replace {

class ChangeDefinitions {
public:
    explicit ChangeDefinitions(std::filesystem::path sourceFile = {}) : sourceFile_(std::move(sourceFile)) {}

    void add(std::u16string oldValue, std::u16string newValue);
    // The new value of the first pair whose old value equals `key`, letter case ignored;
    // nothing when no pair matches.
    const std::u16string* newValueFor(std::u16string_view key) const;

    size_t size() const { return oldValues_.size(); }
    const std::vector<std::u16string>& oldValues() const { return oldValues_; }  // mlsList
    const std::vector<std::u16string>& newValues() const { return newValues_; }  // mlsList2
    // The file the pairs were read from (empty when built by hand).
    const std::filesystem::path& sourceFile() const { return sourceFile_; }

private:
    std::filesystem::path sourceFile_;
    std::vector<std::u16string> oldValues_;  // in file order
    std::vector<std::u16string> newValues_;  // entry k belongs to old value k
    // Old value in upper case -> index of its first pair, so that a lookup does not scan
    // the list: a run costs lines + definitions, not their product.
    std::unordered_map<std::u16string, size_t> firstIndex_;
};

// CsvSet: reads the change definitions from the file at `pstFile` (code page 932, one line
// at a time, up to an end-of-file byte 0x1A). Nothing when no file is there (the caller
// shows msg::kNoDefinitionFile). Raises Error when the file cannot be read or is no Shift-JIS
// text (a NUL byte, or a byte-order mark).
std::optional<ChangeDefinitions> CsvSet(std::u16string_view pstFile);

// A value of a definition line from the second on: filled on the left with "0" to ten
// characters (code units); a longer value stays as it is.
std::u16string zeroFilled(std::u16string_view value);

}  // namespace vask::replace
