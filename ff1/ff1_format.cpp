#include "ff1/ff1_format.h"

#include "core/numbers.h"
#include "platform/cp932.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::ff1 {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr size_t kSniffedBytes = 4;

bool isAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

TextEncoding DetectEncodingFromFile(const std::filesystem::path& AFile, bool AssumeShiftJIS) {
    // At most 4 bytes are looked at; bytes that the file does not have count as 0.
    if (readPrefix(AFile, kSniffedBytes).starts_with(kUtf8Bom)) return TextEncoding::Utf8;
    return AssumeShiftJIS ? TextEncoding::Cp932 : TextEncoding::Utf8;
}

bool IsHeaderLine(std::u16string_view Line) {
    if (Line.empty()) return false;
    // The name holds no letter, so a plain search is the search that ignores letter case.
    if (Line.find(u"施設コード") != std::u16string_view::npos) return true;
    const std::u16string_view field0 = Line.substr(0, Line.find(u'\t'));
    return !readInt32(trimmedView(field0)).has_value();
}

int32_t ParseYearMonth(std::u16string_view S) { return readInt32(trimmedView(S)).value_or(0); }

void decodeLine(std::string_view bytes, TextEncoding encoding, std::u16string& out) {
    out.clear();
    if (encoding == TextEncoding::Cp932) {
        cp932::decodeAppend(bytes, out);
    } else {
        out = decodeText(bytes, encoding);
    }
}

size_t appendReencoded(std::string_view bytes, TextEncoding from, TextEncoding to, std::string& out) {
    // ASCII reads and writes as itself in both encodings.
    if (isAscii(bytes)) {
        out.append(bytes);
        return 0;
    }
    std::u16string text;
    decodeLine(bytes, from, text);
    if (to != TextEncoding::Cp932) {
        out += utf16ToUtf8(text);
        return 0;
    }
    const size_t start = out.size();
    cp932::encodeAppend(text, out);
    return cp932::replacedCount(text, std::string_view(out).substr(start));
}

}  // namespace vask::ff1
