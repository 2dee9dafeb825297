#include "ff1/spec_csv.h"

#include <optional>

#include "core/messages.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "platform/errors.h"

namespace vask::ff1 {
namespace {

constexpr int kFirstPayload = 1;
constexpr int kLastPayload = 9;

// Cell positions of the three titles in line 1.
struct Titles {
    std::optional<size_t> header;
    std::optional<size_t> code;
    std::optional<size_t> payload;
};

Titles findTitles(std::u16string_view titleLine) {
    Titles titles;
    const auto cells = splitQuotedCsv(titleLine);
    for (size_t i = 0; i < cells.size(); ++i) {
        const std::u16string_view title = trimmedView(cells[i]);
        if (sameTextIgnoringCase(title, u"ヘッダー名称")) titles.header = i;
        if (sameTextIgnoringCase(title, u"コード")) titles.code = i;
        if (sameTextIgnoringCase(title, u"ペイロード番号")) titles.payload = i;
    }
    if (!titles.header || !titles.code || !titles.payload) {
        throw Error(std::u16string(msg::kSpecCsvTitlesMissing));
    }
    return titles;
}

void takeRow(std::u16string_view line, const Titles& titles, SpecCsv& spec) {
    if (isBlank(line)) return;
    const auto cells = splitQuotedCsv(line);
    const std::u16string title = trim(cells[0]);
    const int column = ExtractIndexFromBracket(title);
    if (column < 0 || column >= kOutputColumns) return;
    spec.Headers[static_cast<size_t>(column)] = title;
    if (*titles.code >= cells.size() || *titles.payload >= cells.size()) return;
    const std::u16string_view code = trimmedView(cells[*titles.code]);
    const int payload = readInt32(trimmedView(cells[*titles.payload])).value_or(0);
    if (code.empty() || payload < kFirstPayload || payload > kLastPayload) return;
    spec.MapCodePayloadToIndex[codePayloadKey(code, payload)] = column;
}

}  // namespace

std::u16string codePayloadKey(std::u16string_view code, int payload) {
    std::u16string key(code);
    key += u'|';
    key += formatInt(payload);
    return key;
}

int ExtractIndexFromBracket(std::u16string_view S) {
    const size_t open = S.find(u'[');
    const size_t close = S.find(u']');
    if (open == std::u16string_view::npos || close == std::u16string_view::npos || close < open) return -1;
    return readInt32(trimmedView(S.substr(open + 1, close - open - 1))).value_or(-1);
}

SpecCsv LoadSpecCSV(const std::filesystem::path& SpecCsvPath) {
    SpecCsv spec;
    for (int n = 0; n < kOutputColumns; ++n) spec.Headers.push_back(u"[" + formatInt(n) + u"]");
    // The whole file is read before its titles are looked for, so that a file that is no
    // Shift-JIS text is reported as such rather than as lacking its titles.
    Cp932LineReader reader(SpecCsvPath, LineRule::AnyBreak, Cp932Input::ShiftJisText);
    std::vector<std::u16string> lines;
    for (std::u16string line; reader.next(line);) lines.push_back(std::move(line));
    if (lines.empty()) throw Error(std::u16string(msg::kSpecCsvEmpty));
    const Titles titles = findTitles(lines.front());
    for (size_t i = 1; i < lines.size(); ++i) takeRow(lines[i], titles, spec);
    return spec;
}

}  // namespace vask::ff1
