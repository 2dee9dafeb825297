// GetCommaTxt and CommaText. The input is read twice: as a line for GetCommaTxt, and as a
// list of fields (the text cut at U+001E) for CommaText.
//   GetCommaTxt: n commas give n + 1 fields; the fields joined by commas are the line
//     without its double quotes; appending keeps what the list held; splitCommaFields
//     over a used list gives the same fields.
//   CommaText then GetCommaTxt: GetCommaTxt knows no quoting, so a comma inside a field
//     cannot come back, and the quotes CommaText adds (and doubles) are all dropped. For a
//     non-empty list without a comma in any field the result is the fields with their
//     double quotes removed (the empty list joins to "", which reads as one empty field).
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/text.h"
#include "core/text_formats.h"
#include "fuzz_support.h"

using namespace vask;

namespace {

std::u16string withoutQuotes(std::u16string_view text) {
    std::u16string out(text);
    std::erase(out, u'"');
    return out;
}

void checkSplit(std::u16string_view line) {
    std::vector<std::u16string> fields{u"kept"};
    GetCommaTxt(line, fields);
    fuzz::require(fields.front() == u"kept", "GetCommaTxt appends");
    fields.erase(fields.begin());
    fuzz::require(fields.size() == static_cast<size_t>(std::count(line.begin(), line.end(), u',')) + 1,
                  "n commas give n + 1 fields");
    std::u16string joined;
    for (size_t i = 0; i < fields.size(); ++i) joined += (i ? u"," : u"") + fields[i];
    fuzz::require(joined == withoutQuotes(line), "the fields are the line without quotes");

    std::vector<std::u16string> reused{u"a", u"b", u"c", u"d", u"e", u"f"};
    splitCommaFields(line, reused);
    fuzz::require(reused == fields, "splitCommaFields over a used list gives the same fields");
}

void checkJoin(const std::vector<std::u16string>& fields) {
    const std::u16string text = CommaText(fields);
    std::u16string appended = u"x,";
    appendCommaText(fields, appended);
    fuzz::require(appended == u"x," + text, "appendCommaText appends what CommaText gives");
    const bool hasComma =
        std::any_of(fields.begin(), fields.end(), [](const auto& f) { return f.find(u',') != f.npos; });
    if (fields.empty() || hasComma) return;
    std::vector<std::u16string> back;
    GetCommaTxt(text, back);
    std::vector<std::u16string> expected;
    for (const auto& field : fields) expected.push_back(withoutQuotes(field));
    fuzz::require(back == expected, "GetCommaTxt reads CommaText back, quotes dropped");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string text = fuzz::textOf(fuzz::bytesOf(data, size));
    checkSplit(text);
    std::vector<std::u16string_view> parts;
    splitOn(text, u'\x1E', parts);
    checkJoin(std::vector<std::u16string>(parts.begin(), parts.end()));
    return 0;
}
