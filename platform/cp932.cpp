#include "platform/cp932.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/cp932_tables.h"

namespace vask::cp932 {
namespace {

constexpr uint64_t kHighBits = 0x8080808080808080ULL;

// Row of kPairs for each lead byte (nullptr for the others), so that the hot loop needs
// one load per pair.
struct PairRows {
    const uint16_t* row[256];
    PairRows() {
        for (int b = 0; b < 256; ++b) row[b] = kLeadIndex[b] == 0xFF ? nullptr : kPairs + kLeadIndex[b] * 256;
    }
};
const PairRows kRows;

constexpr uint16_t kSurrogate = 0xFFFF;  // no code has the lead byte FF

// Code of every BMP unit as the two bytes in memory order (first byte in the low half):
// a one-byte code has 0 as its second byte, a two-byte code a second byte of at least 40.
// Units without a code hold '?'; surrogates hold kSurrogate.
struct CodeBytes {
    uint16_t bytes[65536];
    CodeBytes() {
        for (uint32_t u = 0; u < 65536; ++u) {
            const uint16_t code = kEncode[u];
            if (u >= 0xD800 && u <= 0xDFFF) {
                bytes[u] = kSurrogate;
            } else if (u == 0) {
                bytes[u] = 0;
            } else if (code == 0) {
                bytes[u] = '?';
            } else if (code <= 0xFF) {
                bytes[u] = code;
            } else {
                bytes[u] = static_cast<uint16_t>((code >> 8) | (code & 0xFF) << 8);
            }
        }
    }
};
const CodeBytes kCodes;

}  // namespace

void decodeAppend(std::string_view bytes, std::u16string& out) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t len = bytes.size();
    const size_t start = out.size();
    out.resize(start + len);  // never more units than bytes
    char16_t* dst = out.data() + start;
    size_t i = 0;
    size_t o = 0;
    while (i < len) {
        const unsigned b = in[i];
        if (b < 0x80) {
            dst[o++] = static_cast<char16_t>(b);
            ++i;
            // An ASCII byte often starts a run: take the rest eight bytes at a time.
            while (i + 8 <= len) {
                uint64_t word;
                std::memcpy(&word, in + i, 8);
                if (word & kHighBits) break;
                for (int k = 0; k < 8; ++k) dst[o + k] = in[i + k];
                i += 8;
                o += 8;
            }
            continue;
        }
        if (const uint16_t* row = kRows.row[b]) {
            if (i + 1 < len) {
                if (const uint16_t unit = row[in[i + 1]]) {
                    dst[o++] = static_cast<char16_t>(unit);
                    i += 2;
                    continue;
                }
            }
            dst[o++] = kReplacement;
            ++i;
            continue;
        }
        const uint16_t single = kSingleByte[b];
        dst[o++] = single == kNoChar ? kReplacement : static_cast<char16_t>(single);
        ++i;
    }
    out.resize(start + o);
}

std::u16string decode(std::string_view bytes) {
    std::u16string out;
    decodeAppend(bytes, out);
    return out;
}

void encodeAppend(std::u16string_view text, std::string& out) {
    const size_t start = out.size();
    const size_t len = text.size();
    out.resize(start + len * 2);  // at most two bytes per unit
    char* dst = out.data() + start;
    const char16_t* src = text.data();
    size_t o = 0;
    size_t i = 0;
    // One table load per unit and no branch on the kind of character: mixed Japanese
    // and ASCII text would make such a branch unpredictable.
    for (; i < len; ++i) {
        const char16_t u = src[i];
        const uint16_t bytes = kCodes.bytes[u];
        if (bytes == kSurrogate) [[unlikely]] {
            // A surrogate pair is one code point outside the code page, as is a lone one.
            if (u <= 0xDBFF && i + 1 < len && src[i + 1] >= 0xDC00 && src[i + 1] <= 0xDFFF) ++i;
            dst[o++] = '?';
            continue;
        }
        // Both bytes are stored; the second counts only for a two-byte code (the buffer has
        // room, since every unit before took at least one of its two bytes).
        dst[o] = static_cast<char>(bytes & 0xFF);
        dst[o + 1] = static_cast<char>(bytes >> 8);
        o += bytes > 0xFF ? 2 : 1;
    }
    out.resize(start + o);
}

size_t replacedCount(std::u16string_view text, std::string_view encoded) {
    if (encoded.find('?') == std::string_view::npos) return 0;
    const auto written = static_cast<size_t>(std::count(encoded.begin(), encoded.end(), '?'));
    return written - static_cast<size_t>(std::count(text.begin(), text.end(), u'?'));
}

bool CharacterCheck::step(unsigned char byte) {
    if (lead_ >= 0) {
        const int lead = lead_;
        lead_ = -1;
        if (kRows.row[lead][byte] != 0) return true;
        step(byte);
        return false;
    }
    if (kRows.row[byte]) {
        lead_ = byte;
        return true;
    }
    return kSingleByte[byte] != kNoChar;
}

bool CharacterCheck::feed(std::string_view bytes) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t len = bytes.size();
    size_t i = 0;
    while (i < len) {
        // Outside a pair, ASCII bytes are characters: skip them eight at a time.
        if (lead_ < 0) {
            while (i + 8 <= len) {
                uint64_t word;
                std::memcpy(&word, in + i, 8);
                if (word & kHighBits) break;
                i += 8;
            }
            if (i == len) break;
        }
        if (!step(in[i++])) return false;
    }
    return true;
}

std::string encode(std::u16string_view text) {
    std::string out;
    encodeAppend(text, out);
    return out;
}

bool roundTripsUnchanged(std::string_view validBytes) {
    const auto ascii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    if (std::all_of(validBytes.begin(), validBytes.end(), ascii)) return true;
    return encode(decode(validBytes)) == validBytes;
}

void appendRoundTrip(std::string_view validBytes, std::string& out) {
    const auto ascii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    if (std::all_of(validBytes.begin(), validBytes.end(), ascii)) {
        out += validBytes;
        return;
    }
    encodeAppend(decode(validBytes), out);
}

}  // namespace vask::cp932
