#include "ff1/ehr_csv.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "core/file_names.h"
#include "core/messages.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "ff1/ff1_format.h"
#include "ff1/ff1_output.h"
#include "ff1/line_reader.h"
#include "ff1/spec_csv.h"
#include "platform/errors.h"
#include "platform/paths.h"

namespace vask::ff1 {
namespace {

constexpr int kDataIdColumn = 0;
constexpr int kDateColumn = 2;
constexpr size_t kMinimumFields = 5;
constexpr size_t kDateField = 2;  // of an output line split on commas
constexpr char16_t kRecelistName[] = u"recelist.csv";
constexpr size_t kRecelistFields = 5;
constexpr size_t kRecelistKeyField = 4;

// The text of a field's bytes; ASCII, the usual case, reads as itself.
std::u16string_view textOf(std::string_view bytes, TextEncoding encoding, std::u16string& text) {
    if (isAsciiBytes(bytes)) {
        text.assign(bytes.begin(), bytes.end());
    } else {
        decodeLine(bytes, encoding, text);
    }
    return text;
}

// Fills the rows from one data line of the merged file. Only the data ID, the item code
// and the payloads that the item map (siyo4.csv) names are decoded.
class DataLines {
public:
    DataLines(const SpecCsv& spec, RowMap& rows) : spec_(spec), rows_(rows) {}

    void take(const LineFields& fields, TextEncoding encoding) {
        if (fields.size() < kMinimumFields) return;
        const std::string_view dataId = trimmedBytes(fields[kDataIdField]);
        const int32_t yearMonth = parseYearMonthBytes(fields[kYearMonthField]);
        const std::string_view code = trimmedBytes(fields[kItemCodeField]);
        if (dataId.empty() || code.empty() || yearMonth == 0) return;
        TOutputRow& row = rows_.EnsureRow(textOf(dataId, encoding, dataId_), yearMonth);
        textOf(code, encoding, key_);
        key_.push_back(u'|');
        const size_t codeLength = key_.size();
        for (int payload = 1; payload <= kPayloadCount; ++payload) {
            const size_t field = kFirstPayloadField + static_cast<size_t>(payload) - 1;
            if (field >= fields.size()) break;
            const std::string_view value = trimmedBytes(fields[field]);
            if (value.empty()) continue;
            // The key of codePayloadKey: the code, "|" and the payload's one digit.
            static_assert(kPayloadCount <= 9, "one digit per payload");
            key_.resize(codeLength);
            key_.push_back(static_cast<char16_t>(u'0' + payload));
            const auto mapped = spec_.MapCodePayloadToIndex.find(key_);
            if (mapped != spec_.MapCodePayloadToIndex.end() && mapped->second >= 0 && mapped->second < kOutputColumns) {
                row.set(mapped->second, textOf(value, encoding, value_));
            }
        }
    }

private:
    const SpecCsv& spec_;
    RowMap& rows_;
    std::u16string dataId_;
    std::u16string key_;
    std::u16string value_;
};

RowMap readMergedFile(const std::filesystem::path& merged, const SpecCsv& spec) {
    const TextEncoding encoding = DetectEncodingFromFile(merged, true);
    // The program wrote the merged file itself: its bytes are taken as they are.
    FF1LineReader reader(merged, encoding, Cp932Input::AnyBytes, LineFields::kMaxFields, LineFields::kMaxFields);
    RowMap rows;
    DataLines lines(spec, rows);
    bool firstLine = true;
    reader.forEachLine([&](std::string_view bytes, const LineFields& fields, bool ascii) {
        if (trimmedBytes(bytes).empty()) return;
        // The merge writes a header line first only when an FF1 file had one.
        const bool header = firstLine && isHeaderLineBytes(bytes, fields[0], encoding, ascii);
        firstLine = false;
        if (!header) lines.take(fields, encoding);
    });
    return rows;
}

// Field 2 of a comma-separated line, trimmed, or nothing when the line has fewer fields.
std::optional<std::u16string> dateField(std::u16string_view line) {
    std::vector<std::u16string_view> fields;
    splitOn(line, u',', fields);
    if (fields.size() <= kDateField) return std::nullopt;
    return trim(fields[kDateField]);
}

// Calls `take` with every non-blank line of the append file after its header line.
template <typename Take>
void forEachAppendLine(const std::filesystem::path& file, Take&& take) {
    Cp932LineReader reader(file, LineRule::AnyBreak, Cp932Input::ShiftJisText);
    std::u16string line;
    if (!reader.next(line)) return;
    while (reader.next(line)) {
        if (!isBlank(line) && !take(line)) return;
    }
}

// The consultation date of the append file: field 2 of its first data line that has one.
std::u16string appendFileDate(const std::filesystem::path& file) {
    std::u16string date;
    forEachAppendLine(file, [&](const std::u16string& line) {
        auto field = dateField(line);
        if (field) date = std::move(*field);
        return !field;  // stop at the first line with a date field
    });
    return date;
}

void checkAppendDate(const std::u16string& baseDate, const std::u16string& appendDate) {
    if (baseDate.empty() || appendDate.empty() || baseDate == appendDate) return;
    throw Error(msg::appendDateDiffers(baseDate, appendDate));
}

// The ID substitution list: field 4 of a line (trimmed) is replaced by its field 0.
class IdSubstitution {
public:
    explicit IdSubstitution(const std::filesystem::path& file) {
        if (!fileExists(file)) return;
        Cp932LineReader reader(file, LineRule::AnyBreak, Cp932Input::ShiftJisText);
        std::u16string line;
        std::vector<std::u16string_view> fields;
        while (reader.next(line)) {
            if (isBlank(line)) continue;
            splitOn(line, u',', fields);
            if (fields.size() >= kRecelistFields) ids_[trim(fields[kRecelistKeyField])] = trim(fields[0]);
        }
    }

    // The line with its field 0 (untrimmed) replaced when the list holds it.
    std::u16string apply(std::u16string line) const {
        if (ids_.empty() || isBlank(line)) return line;
        const size_t cut = std::min(line.find(u','), line.size());
        const auto found = ids_.find(line.substr(0, cut));
        if (found != ids_.end()) line.replace(0, cut, found->second);
        return line;
    }

private:
    std::unordered_map<std::u16string, std::u16string> ids_;
};

}  // namespace

void TOutputRow::set(int column, std::u16string_view value) {
    for (size_t at = 0; at < filled_.size();) {
        const size_t length = filled_[at + 1] | static_cast<size_t>(filled_[at + 2]) << 16;
        if (filled_[at] == column) {
            filled_.erase(at, 3 + length);
            break;
        }
        at += 3 + length;
    }
    filled_.push_back(static_cast<char16_t>(column));
    filled_.push_back(static_cast<char16_t>(value.size() & 0xFFFF));
    filled_.push_back(static_cast<char16_t>(value.size() >> 16));
    filled_.append(value);
}

void TOutputRow::columns(std::u16string_view dataId, std::u16string_view date, std::vector<std::u16string>& out) const {
    out.assign(kOutputColumns, std::u16string());
    out[kDataIdColumn] = dataId;
    out[kDateColumn] = date;
    for (size_t at = 0; at < filled_.size();) {
        const size_t length = filled_[at + 1] | static_cast<size_t>(filled_[at + 2]) << 16;
        out[filled_[at]].assign(filled_, at + 3, length);
        at += 3 + length;
    }
}

TOutputRow& RowMap::EnsureRow(std::u16string_view ADataId, int32_t AYM) {
    // The merged file holds the lines of a data ID together: mostly it is the last one.
    if (last_ && last_->first == ADataId) return last_->second;
    // And a data ID after every one so far is a new one, which goes last.
    const bool last = rows_.empty() || rows_.rbegin()->first < ADataId;
    auto found = last ? rows_.end() : rows_.find(ADataId);
    if (found == rows_.end()) {
        TOutputRow row;
        row.YearMonth = AYM;
        found = rows_.emplace_hint(found, std::u16string(ADataId), std::move(row));
    }
    // A row left is complete.
    if (last_) last_->second.shrink();
    last_ = &*found;
    return found->second;
}

std::filesystem::path BuildEHRCSV_FromFF1_andSpecCSV(std::u16string_view MergedFF1Path, std::u16string_view SpecCsvPath,
                                                     std::u16string_view OutDir, std::u16string_view AppendCsvPath,
                                                     std::u16string_view TargetYYYYMM, LostCharacters* lost) {
    const SpecCsv spec = LoadSpecCSV(toPath(SpecCsvPath));
    const std::filesystem::path merged = toPath(MergedFF1Path);
    const RowMap rows = readMergedFile(merged, spec);
    const std::u16string month = trim(TargetYYYYMM);
    const std::u16string date = month + u"01";

    std::vector<std::u16string> columns;
    std::u16string baseDate;
    if (!rows.rows().empty()) {
        rows.rows().begin()->second.columns(rows.rows().begin()->first, date, columns);
        baseDate = dateField(joinWithoutQuotes(columns)).value_or(std::u16string());
    }
    const std::filesystem::path appendFile = toPath(AppendCsvPath);
    const bool appending = !AppendCsvPath.empty() && fileExists(appendFile);
    if (appending) checkAppendDate(baseDate, appendFileDate(appendFile));
    const IdSubstitution substitution(merged.parent_path() / toPath(kRecelistName));

    std::vector<std::filesystem::path> inputs{toPath(SpecCsvPath), merged};
    if (appending) inputs.push_back(appendFile);
    // The output folder is the Downloads folder, not the program folder.
    const std::filesystem::path target =
        outputPath(toPath(OutDir), month + u"_ff1all.csv", {.inputs = inputs, .programFolder = false});
    LineWriter out = openCP932LossyWriter(target);
    out.writeLine(joinWithoutQuotes(spec.Headers));
    for (const auto& [dataId, row] : rows.rows()) {
        row.columns(dataId, date, columns);
        out.writeLine(substitution.apply(joinWithoutQuotes(columns)));
    }
    if (appending) {
        forEachAppendLine(appendFile, [&](const std::u16string& line) {
            out.writeLine(substitution.apply(line));
            return true;
        });
    }
    out.commit();
    if (lost) *lost = out.lost();
    return target;
}

}  // namespace vask::ff1
