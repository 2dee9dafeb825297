#include "platform/utf.h"

#include <cstdint>

namespace vask {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';
constexpr char16_t kEscapeBase = 0xDC00;  // + a byte of an ill-formed sequence

void appendCodePoint(std::u16string& out, uint32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Length of the well-formed sequence that starts with `lead`, and the valid range of its
// second byte (the rest must be 80..BF); 0 when `lead` starts none.
int sequenceLength(unsigned char lead, unsigned char& lo, unsigned char& hi) {
    lo = 0x80;
    hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead == 0xE0) {
        lo = 0xA0;
        return 3;
    }
    if ((lead >= 0xE1 && lead <= 0xEC) || lead == 0xEE || lead == 0xEF) return 3;
    if (lead == 0xED) {
        hi = 0x9F;
        return 3;
    }
    if (lead == 0xF0) {
        lo = 0x90;
        return 4;
    }
    if (lead >= 0xF1 && lead <= 0xF3) return 4;
    if (lead == 0xF4) {
        hi = 0x8F;
        return 4;
    }
    return 0;
}

std::u16string utf16FromBytes(std::string_view bytes, bool bigEndian) {
    std::u16string out;
    out.reserve(bytes.size() / 2 + 1);
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        out.push_back(static_cast<char16_t>(bigEndian ? (b[i] << 8 | b[i + 1]) : (b[i + 1] << 8 | b[i])));
    }
    if (i < bytes.size()) out.push_back(kReplacement);
    return out;
}

// Each maximal ill-formed subsequence becomes one U+FFFD, as the Unicode standard
// recommends, or, with `escaped`, each of its bytes its lone surrogate.
std::u16string decodeUtf8(std::string_view bytes, bool escaped) {
    std::u16string out;
    out.reserve(bytes.size());
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    auto illFormed = [&](size_t from, size_t count) {
        if (!escaped) {
            out.push_back(kReplacement);
            return;
        }
        for (size_t k = 0; k < count; ++k) out.push_back(static_cast<char16_t>(kEscapeBase + b[from + k]));
    };
    size_t i = 0;
    while (i < n) {
        const unsigned char lead = b[i];
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        unsigned char lo;
        unsigned char hi;
        const int len = sequenceLength(lead, lo, hi);
        if (len == 0) {
            illFormed(i, 1);
            ++i;
            continue;
        }
        uint32_t cp = lead & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
        size_t k = 1;
        for (; k < static_cast<size_t>(len); ++k) {
            if (i + k >= n) break;
            const unsigned char c = b[i + k];
            const unsigned char min = k == 1 ? lo : 0x80;
            const unsigned char max = k == 1 ? hi : 0xBF;
            if (c < min || c > max) break;
            cp = cp << 6 | (c & 0x3F);
        }
        if (k == static_cast<size_t>(len)) {
            appendCodePoint(out, cp);
        } else {
            illFormed(i, k);
        }
        i += k;
    }
    return out;
}

// A lone surrogate becomes U+FFFD, or, with `escaped`, U+DC80..U+DCFF its byte.
std::string encodeUtf8(std::u16string_view text, bool escaped) {
    std::string out;
    out.reserve(text.size() * 3);
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            u = 0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (escaped && u >= kEscapeBase + 0x80 && u <= kEscapeBase + 0xFF) {
            out.push_back(static_cast<char>(u - kEscapeBase));
            continue;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            u = kReplacement;
        }
        appendUtf8(out, u);
    }
    return out;
}

}  // namespace

std::u16string utf8ToUtf16(std::string_view bytes) { return decodeUtf8(bytes, false); }

std::string utf16ToUtf8(std::u16string_view text) { return encodeUtf8(text, false); }

std::u16string utf8ToUtf16Escaped(std::string_view bytes) { return decodeUtf8(bytes, true); }

std::string utf16ToUtf8Escaped(std::u16string_view text) { return encodeUtf8(text, true); }

std::u16string utf16leToUtf16(std::string_view bytes) { return utf16FromBytes(bytes, false); }

std::u16string utf16beToUtf16(std::string_view bytes) { return utf16FromBytes(bytes, true); }

bool Utf8Check::step(unsigned char byte) {
    if (!wellFormed_) return false;
    if (need_ > 0) {
        if (byte < lo_ || byte > hi_) return wellFormed_ = false;
        lo_ = 0x80;
        hi_ = 0xBF;
        --need_;
        return true;
    }
    if (byte < 0x80) return true;
    const int length = sequenceLength(byte, lo_, hi_);
    if (length == 0) return wellFormed_ = false;
    need_ = length - 1;
    sawLong_ = sawLong_ || length > 2;
    return true;
}

bool Utf8Check::feed(std::string_view bytes) {
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && need_ == 0) continue;
        if (!step(byte)) return false;
    }
    return wellFormed_;
}

std::string utf16ToUtf16le(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t u : text) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    }
    return out;
}

}  // namespace vask
