#include "ff1/ff1_format.h"

#include <algorithm>
#include <optional>

#include "core/cp932_round_trip.h"
#include "core/numbers.h"
#include "platform/cp932.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::ff1 {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr size_t kSniffedBytes = 4;
constexpr std::u16string_view kFacilityCodeName = u"施設コード";

// readInt32 of the field's text, trimmed.
std::optional<int32_t> int32OfBytes(std::string_view field) {
    // Most fields are one to nine decimal digits: the number they spell, which cannot
    // overflow.
    constexpr size_t kSafeDigits = 9;
    if (!field.empty() && field.size() <= kSafeDigits) {
        uint32_t value = 0;
        size_t k = 0;
        for (; k < field.size(); ++k) {
            const unsigned digit = static_cast<unsigned char>(field[k]) - unsigned{'0'};
            if (digit > 9) break;
            value = value * 10 + digit;
        }
        if (k == field.size()) return static_cast<int32_t>(value);
    }
    const std::string_view text = trimmedBytes(field);
    // A non-ASCII character is no part of an integer; ASCII reads as itself.
    if (!isAsciiBytes(text)) return std::nullopt;
    return readInt32(fromAscii(text));
}

// "施設コード" as the file's bytes hold it.
std::string_view facilityCodeName(TextEncoding encoding) {
    static const std::string cp932Name = cp932::encode(kFacilityCodeName);
    static const std::string utf8Name = utf16ToUtf8(kFacilityCodeName);
    return encoding == TextEncoding::Cp932 ? cp932Name : utf8Name;
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
    if (Line.find(kFacilityCodeName) != std::u16string_view::npos) return true;
    const std::u16string_view field0 = Line.substr(0, Line.find(u'\t'));
    return !readInt32(trimmedView(field0)).has_value();
}

int32_t ParseYearMonth(std::u16string_view S) { return readInt32(trimmedView(S)).value_or(0); }

bool isHeaderLineBytes(std::string_view bytes, std::string_view field0, TextEncoding encoding, bool ascii) {
    // The name's bytes may also be found where they are no characters of their own (in
    // code page 932 its first byte can end another character): then the text decides.
    if (!ascii && bytes.find(facilityCodeName(encoding)) != std::string_view::npos) {
        std::u16string text;
        decodeLine(bytes, encoding, text);
        return IsHeaderLine(text);
    }
    return !int32OfBytes(field0).has_value();
}

int32_t parseYearMonthBytes(std::string_view field) { return int32OfBytes(field).value_or(0); }

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
    if (isAsciiBytes(bytes)) {
        out.append(bytes);
        return 0;
    }
    if (from == TextEncoding::Cp932 && to == TextEncoding::Cp932) return appendCp932RoundTrip(bytes, out);
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
