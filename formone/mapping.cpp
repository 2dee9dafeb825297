#include "formone/mapping.h"

#include <algorithm>
#include <vector>

#include "core/file_names.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"

namespace vask::formone {
namespace {

constexpr char16_t kByteOrderMark = u'\uFEFF';

// Which header columns stay, and the header line of the kept ones.
struct MappedHeader {
    std::vector<bool> keep;
    std::u16string titles;
};

void appendSeparated(std::u16string& line, bool& first, std::u16string_view value) {
    if (!first) line.push_back(u'\t');
    line += value;
    first = false;
}

MappedHeader mapHeader(std::u16string_view headerLine, const ColumnMapping& mapping) {
    MappedHeader header;
    std::vector<std::u16string_view> cells;
    splitTabs(headerLine, cells);
    bool first = true;
    for (const auto cell : cells) {
        const auto found = mapping.find(NormalizeKey(cell));
        const bool keep = found == mapping.end() || !found->second.empty();
        header.keep.push_back(keep);
        if (keep) appendSeparated(header.titles, first, found == mapping.end() ? cell : found->second);
    }
    return header;
}

void keptFields(std::u16string_view line, const std::vector<bool>& keep, std::vector<std::u16string_view>& fields,
                std::u16string& out) {
    splitTabs(line, fields);
    out.clear();
    bool first = true;
    const size_t count = std::min(fields.size(), keep.size());
    for (size_t j = 0; j < count; ++j) {
        if (keep[j]) appendSeparated(out, first, fields[j]);
    }
}

}  // namespace

std::u16string NormalizeKey(std::u16string_view S) {
    if (!S.empty() && S.front() == kByteOrderMark) S.remove_prefix(1);
    return trim(S);
}

ColumnMapping loadColumnMapping(const std::filesystem::path& MappingFile) {
    ColumnMapping mapping;
    std::vector<std::u16string_view> parts;
    for (const auto& line : loadLines(MappingFile, TextEncoding::Cp932, Cp932Input::ShiftJisText)) {
        splitOn(line, u',', parts);
        if (parts.empty()) continue;
        std::u16string key = NormalizeKey(parts[0]);
        if (key.empty()) continue;
        mapping[std::move(key)] = parts.size() > 1 ? NormalizeKey(parts[1]) : std::u16string();
    }
    return mapping;
}

bool ConvertTSVWithMapping(const std::filesystem::path& InputFile, const std::filesystem::path& OutputFile,
                           const std::filesystem::path& MappingFile, LostCharacters* lost) {
    refuseToReplaceInputs(OutputFile, {InputFile, MappingFile});
    const ColumnMapping mapping = loadColumnMapping(MappingFile);
    // Read as the choosing step reads the form-1 file: a byte-order mark selects UTF-8 or
    // UTF-16, without one it must be Shift-JIS text.
    TextLineReader reader(InputFile, Cp932Input::ShiftJisText);
    std::u16string line;
    if (!reader.next(line)) return false;
    const MappedHeader header = mapHeader(line, mapping);
    LineWriter writer(OutputFile);
    writer.writeLine(header.titles);
    std::vector<std::u16string_view> fields;
    std::u16string out;
    while (reader.next(line)) {
        keptFields(line, header.keep, fields, out);
        writer.writeLine(out);
    }
    writer.commit();
    if (lost) *lost = writer.lost();
    return true;
}

}  // namespace vask::formone
