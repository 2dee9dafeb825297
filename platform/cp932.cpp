#include "platform/cp932.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/cp932_ascii.h"
#include "platform/cp932_tables.h"

namespace vask::cp932 {
namespace {

// The unit of the character that starts with byte b0, followed by byte b1 (0 at the end
// of the input), at units[b0 | b1 << 8]: the pair's unit when b0 is a lead byte, else
// b0's own; U+FFFD where the byte, or the pair, is no character. In this order the index
// of two bytes in memory is one load on a little-endian processor.
struct DecodeTable {
    char16_t units[65536];
    DecodeTable() {
        for (unsigned b0 = 0; b0 < 256; ++b0) {
            for (unsigned b1 = 0; b1 < 256; ++b1) {
                uint16_t unit = kSingleByte[b0] == kNoChar ? kReplacement : kSingleByte[b0];
                if (kLeadIndex[b0] != 0xFF) unit = kPairs[kLeadIndex[b0] * 256 + b1];
                units[b0 | b1 << 8] = unit == 0 && b0 != 0 ? kReplacement : unit;
            }
        }
    }
};
const DecodeTable kDecode;

// Code of every BMP unit in one word: its bytes, in the order they are written, as the
// number the low 16 bits hold (a one-byte code has 0 as its second byte), and above them
// its length. Units without a code, and surrogates (which the encoder looks at apart),
// have '?'.
struct Codes {
    uint32_t of[65536];
    Codes() {
        for (uint32_t u = 0; u < 65536; ++u) {
            const uint16_t code = u == 0 ? 0 : kEncode[u] == 0 ? '?' : kEncode[u];
            of[u] = code > 0xFF ? word(static_cast<char>(code >> 8), static_cast<char>(code & 0xFF))
                                : word(static_cast<char>(code));
        }
    }
    // The word of the code of two bytes, or of one.
    static uint32_t word(char first, char second) {
        const char bytes[2] = {first, second};
        uint16_t two;
        std::memcpy(&two, bytes, 2);
        return two | 2u << 16;
    }
    static uint32_t word(char only) { return (word(only, 0) & 0xFFFF) | 1u << 16; }
    // Appends the bytes of the code of `unit`.
    void append(char16_t unit, std::string& out) const {
        const auto two = static_cast<uint16_t>(of[unit]);
        char bytes[2];
        std::memcpy(bytes, &two, 2);
        out.append(bytes, of[unit] >> 16);
    }
};
const Codes kCodes;

// Bytes p[0] and p[1] as the index p[0] | p[1] << 8 of the tables by two bytes: one load on
// a little-endian processor.
inline unsigned pairIndex(const unsigned char* p) {
    if constexpr (std::endian::native == std::endian::little) {
        uint16_t two;
        std::memcpy(&two, p, 2);
        return two;
    } else {
        return p[0] | p[1] << 8;
    }
}

// What the walks over text know of each byte, and of the character that starts with byte
// b0 followed by b1 (at info[b0 | b1 << 8], one load for whatever kind of character):
// whether it takes both bytes, whether it is a character at all (NUL is not, to a walk
// over text) and whether decoding and encoding give it back as it was. Derived from the
// codec's own tables.
struct TextTables {
    enum Kind : uint8_t { kSingle, kLead, kNone };
    static constexpr uint8_t kTwoBytes = 1;
    static constexpr uint8_t kCharacter = 2;
    static constexpr uint8_t kComesBack = 4;

    uint8_t kind[256];
    uint8_t info[65536];

    TextTables() {
        for (unsigned b = 0; b < 256; ++b) {
            kind[b] = kLeadIndex[b] != 0xFF ? kLead : kSingleByte[b] == kNoChar ? kNone : kSingle;
        }
        for (unsigned b = 0; b < 256; ++b) {
            for (unsigned t = 0; t < 256; ++t) info[b | t << 8] = infoOf(b, t);
        }
    }
    uint8_t infoOf(unsigned b, unsigned t) const {
        const auto first = static_cast<char>(b);
        if (b == 0 || kind[b] == kNone) return 0;
        if (kind[b] == kSingle) {
            return kCodes.of[kSingleByte[b]] == Codes::word(first) ? kCharacter | kComesBack : kCharacter;
        }
        const uint16_t unit = kPairs[kLeadIndex[b] * 256 + t];
        if (unit == 0) return 0;
        const bool comesBack = kCodes.of[unit] == Codes::word(first, static_cast<char>(t));
        return comesBack ? kTwoBytes | kCharacter | kComesBack : kTwoBytes | kCharacter;
    }
};
const TextTables kText;

// The lead bytes: 81..9F and E0..FC are, with bit 5 flipped, the one range A1..DC.
unsigned leadBytes(simd::Bytes16 block) { return simd::bytesIn(simd::flip(block, 0x20), 0xA1, 0xDC); }

// Which bytes start a pair, given the lead bytes among them, whether byte 0 is the second
// byte of a pair (`second`, 0 or 1) and that every lead byte there has its pair. A byte
// after a byte that is no lead byte starts a character, so in each run of lead bytes the
// first starts a pair, the next is its second byte, and so on.
uint64_t pairStarts(uint64_t leads, unsigned second) {
    constexpr uint64_t kEvenBytes = 0x5555'5555'5555'5555u;
    leads &= ~uint64_t{second};
    const uint64_t runStarts = leads & ~(leads << 1);
    // A carry through each run that starts at an even byte clears it.
    const uint64_t evenRuns = leads & ~(leads + (runStarts & kEvenBytes));
    return (evenRuns & kEvenBytes) | (leads & ~evenRuns & ~kEvenBytes);
}

// For each 8-bit mask, how many of its bits lie below bit k, k = 0..7.
struct CountsBelow {
    std::array<std::array<unsigned char, 8>, 256> below{};
    constexpr CountsBelow() {
        for (unsigned mask = 0; mask < 256; ++mask) {
            for (unsigned k = 1; k < 8; ++k) below[mask][k] = below[mask][k - 1] + (mask >> (k - 1) & 1);
        }
    }
};
constexpr CountsBelow kCountsBelow;

// Decodes the 8 bytes at `in` (and the byte after them, when byte 7 starts a pair) into
// `dst`, given the bytes that start a character, with two table loads and one store per
// two bytes and no branch. Of bytes k and k + 1 (k even) at least one starts a character:
// the units of both go where the first of them goes, so that what is no character's is
// overwritten by the next character's. Returns the units written.
template <size_t... K>
inline size_t decodeEight(const unsigned char* in, unsigned starts, char16_t* dst, std::index_sequence<K...>) {
    const char16_t* units = kDecode.units;
    const auto& at = kCountsBelow.below[starts & 0xFF];
    const auto two = [&](size_t k) {
        const uint32_t first = units[pairIndex(in + k)];
        const uint32_t second = units[pairIndex(in + k + 1)];
        const uint32_t both = (starts >> k & 1 ? first : second) | second << 16;
        std::memcpy(dst + at[k], &both, sizeof both);
    };
    (two(2 * K), ...);
    return at[7] + (starts >> 7 & 1);
}

// Decodes the 8 * sizeof...(H) bytes at `in` as decodeEight does, eight at a time.
template <size_t... H>
inline size_t decodeEights(const unsigned char* in, uint64_t starts, char16_t* dst, std::index_sequence<H...>) {
    size_t o = 0;
    ((o += decodeEight(in + 8 * H, static_cast<unsigned>(starts >> (8 * H)), dst + o, std::make_index_sequence<4>())),
     ...);
    return o;
}

// Decodes the 16 * N bytes at `in` (and the byte after them) into `dst`, as if every lead
// byte among them had its pair; `second` tells whether in[0] is the second byte of a pair
// decoded before, and then whether the byte after them is. Returns the units written.
template <size_t N>
size_t decodeWindow(const unsigned char* in, char16_t* dst, unsigned& second) {
    uint64_t leads = 0;
    uint64_t high = second;
    for (size_t k = 0; k < N; ++k) {
        const simd::Bytes16 block = simd::load16(in + 16 * k);
        leads |= uint64_t{leadBytes(block)} << (16 * k);
        high |= uint64_t{simd::highBytes(block)} << (16 * k);
    }
    if (high == 0) {
        for (size_t k = 0; k < N; ++k) simd::widen16(simd::load16(in + 16 * k), dst + 16 * k);
        return 16 * N;
    }
    const uint64_t pairs = pairStarts(leads, second);
    const uint64_t starts = ~(pairs << 1 | second);
    const size_t o = decodeEights(in, starts, dst, std::make_index_sequence<2 * N>());
    second = static_cast<unsigned>(pairs >> (16 * N - 1));
    return o;
}

// One character at in[0] (in[1] may be read when present); returns its length. A byte
// that is no lead byte is looked up with 00 after it, which gives the same unit: text of
// such bytes then stays in the table's first lines instead of one line per byte pair.
size_t decodeOne(const unsigned char* in, size_t left, char16_t& unit) {
    const bool lead = left > 1 && kLeadIndex[in[0]] != 0xFF;
    unit = kDecode.units[lead ? pairIndex(in) : in[0]];
    return 1 + (lead && unit != kReplacement);
}

// Decodes the characters that start among in[0..piece) into dst, where in[0] starts one
// and `left` bytes can be read; returns the bytes taken (piece, or one more when the last
// pair ends after it). Windows of 64 and 16 bytes while the byte after them, a possible
// second byte of a pair, is there too; the rest one character at a time. The windows
// are right only when they hold no U+FFFD: a byte, or a lead byte's pair, that is no
// character may start the next character elsewhere, so such a piece is taken again one
// character at a time.
size_t decodePiece(const unsigned char* in, size_t left, size_t piece, char16_t* dst, size_t& written) {
    size_t i = 0;
    size_t o = 0;
    unsigned second = 0;
    const size_t windows = left > piece ? piece : piece - 1;  // where windows may end
    for (; i + 64 <= windows; i += 64) o += decodeWindow<4>(in + i, dst + o, second);
    for (; i + 16 <= windows; i += 16) o += decodeWindow<1>(in + i, dst + o, second);
    if (o > 0 && simd::findUnit(dst, o, kReplacement)) [[unlikely]] {
        i = 0;
        o = 0;
        second = 0;
    }
    for (i += second; i < piece; ++o) i += decodeOne(in + i, left - i, dst[o]);
    written = o;
    return i;
}

// Encodes a unit that is no surrogate into dst at o: one table load. Both bytes of its
// code are stored; the second counts only for a two-byte code.
inline void encodeOne(char16_t unit, char* dst, size_t& o) {
    const uint32_t code = kCodes.of[unit];
    const auto two = static_cast<uint16_t>(code);
    std::memcpy(dst + o, &two, 2);
    o += code >> 16;
}

// Encodes the 16 units at `src`, none a surrogate, into `dst`; returns the bytes written.
template <size_t... K>
inline size_t encodeBlock(const char16_t* src, char* dst, std::index_sequence<K...>) {
    size_t o = 0;
    (encodeOne(src[K], dst, o), ...);
    return o;
}

// Encodes src[from..to) into dst at o, unit by unit; a surrogate pair is one code point
// outside the code page (its second unit may lie at `to`), as is a lone surrogate. Returns
// where it ended.
size_t encodeUnits(const char16_t* src, size_t from, size_t to, size_t len, char* dst, size_t& o) {
    size_t i = from;
    for (; i < to; ++i) {
        const char16_t u = src[i];
        if (u >= 0xD800 && u <= 0xDFFF) {
            if (u <= 0xDBFF && i + 1 < len && src[i + 1] >= 0xDC00 && src[i + 1] <= 0xDFFF) ++i;
            dst[o++] = '?';
            continue;
        }
        encodeOne(u, dst, o);
    }
    return i;
}

// Bytes decoded at a time, and at most taken again one character at a time when they are
// not all characters.
constexpr size_t kPiece = 16384;

}  // namespace

void decodeAppend(std::string_view bytes, std::u16string& out) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t len = bytes.size();
    out.reserve(out.size() + len);  // never more units than bytes
    for (size_t i = 0; i < len;) {
        const size_t piece = std::min(len - i, kPiece);
        const size_t start = out.size();
        out.resize(start + piece);
        size_t written = 0;
        i += decodePiece(in + i, len - i, piece, out.data() + start, written);
        out.resize(start + written);
    }
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
    // Blocks of 16 units: ASCII alone is copied as it is; otherwise one table load per
    // unit and no branch, unless a surrogate is among them.
    for (; i + 16 <= len; i += 16) {
        const simd::Units16 block = simd::load16(src + i);
        if (simd::highUnits(block) == 0) {
            simd::narrow16(block, dst + o);
            o += 16;
        } else if (simd::surrogates(block) == 0) [[likely]] {
            o += encodeBlock(src + i, dst + o, std::make_index_sequence<16>());
        } else {
            i = encodeUnits(src, i, i + 16, len, dst, o) - 16;
        }
    }
    encodeUnits(src, i, len, len, dst, o);
    out.resize(start + o);
}

size_t replacedCount(std::u16string_view text, std::string_view encoded) {
    if (encoded.find('?') == std::string_view::npos) return 0;
    const auto written = static_cast<size_t>(std::count(encoded.begin(), encoded.end(), '?'));
    return written - static_cast<size_t>(std::count(text.begin(), text.end(), u'?'));
}

bool CharacterCheck::step(unsigned char byte) {
    if (lead_ >= 0) {
        const unsigned lead = static_cast<unsigned>(lead_);
        lead_ = -1;
        const uint8_t info = kText.info[lead | byte << 8];
        if (info & TextTables::kCharacter) {
            allComeBack_ = allComeBack_ && (info & TextTables::kComesBack) != 0;
            return true;
        }
        step(byte);
        return false;
    }
    if (byte == 0) return !nulIsFault_;
    if (kText.kind[byte] == TextTables::kLead) lead_ = byte;
    if (kText.kind[byte] == TextTables::kSingle) {
        allComeBack_ = allComeBack_ && (kText.info[byte] & TextTables::kComesBack) != 0;
    }
    return kText.kind[byte] != TextTables::kNone;
}

namespace {

// From the start of a character at i, walks windows of 64 bytes while the byte after a
// window is there too: ASCII outside a pair is skipped (and NUL, unless `nulStops`), the
// characters elsewhere are found from the lead bytes as the decoder finds them, and each
// is one table load. Returns where the first character lies whose info lacks one of the
// bits of `Flag` (and `found`), or where the windows end. Up to the first character without
// the flag kCharacter, the characters found are those a walk one by one finds.
template <uint8_t Flag>
size_t walkWindows(const unsigned char* in, size_t len, size_t i, bool nulStops, bool& found) {
    found = false;
    unsigned second = 0;  // whether in[i] is the second byte of a pair
    for (; i + 64 < len; i += 64) {
        const unsigned char* window = in + i;
        if (!simd::anyStop64(window, nulStops)) {
            second = 0;
            continue;
        }
        uint64_t stops = 0;  // the bytes to look at: from 0x80 on, and NUL when it stops
        uint64_t leads = 0;
        for (size_t k = 0; k < 4; ++k) {
            const simd::Bytes16 block = simd::load16(window + 16 * k);
            stops |= uint64_t{nulStops ? simd::zeroOrHighBytes(block) : simd::highBytes(block)} << (16 * k);
            leads |= uint64_t{leadBytes(block)} << (16 * k);
        }
        const uint64_t pairs = pairStarts(leads, second);
        stops &= ~(pairs << 1 | second);  // a second byte starts nothing
        for (; stops != 0; stops &= stops - 1) {
            const unsigned k = simd::lowestBit(stops);
            if ((kText.info[pairIndex(window + k)] & Flag) != Flag) {
                found = true;
                return i + k;
            }
        }
        second = static_cast<unsigned>(pairs >> 63);
    }
    return i + second;
}

}  // namespace

bool CharacterCheck::feed(std::string_view bytes) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t len = bytes.size();
    size_t i = 0;
    if (lead_ >= 0 && len > 0 && !step(in[i++])) return false;
    bool found = false;
    // While every character came back, the walk stops at one that does not as well; such a
    // character is taken one by one, and the walk goes on for characters alone.
    while (allComeBack_) {
        i = walkWindows<TextTables::kCharacter | TextTables::kComesBack>(in, len, i, nulIsFault_, found);
        if (!found) break;
        if ((kText.info[pairIndex(in + i)] & TextTables::kCharacter) == 0) break;
        const bool pair = kText.kind[in[i]] == TextTables::kLead;
        step(in[i++]);
        if (pair) step(in[i++]);
    }
    if (!allComeBack_ || found) i = walkWindows<TextTables::kCharacter>(in, len, i, nulIsFault_, found);
    if (found) return step(in[i]) && step(in[i + 1]);  // false; leaves the state step() leaves
    // The rest one byte at a time.
    for (; i < len; ++i) {
        if (lead_ < 0 && in[i] < 0x80 && in[i] != 0) continue;
        if (!step(in[i])) return false;
    }
    return true;
}

namespace {

// Where, from byte i on, the first code lies that decoding and encoding do not give back
// as it was, and its length (1, or 2 for a pair); the end when there is none. ASCII comes
// back as it is; a byte that is no character, or a lead byte without its pair, is such a
// code of one byte.
size_t nextChange(const unsigned char* in, size_t len, size_t i, size_t& length) {
    bool found = false;
    i = walkWindows<TextTables::kComesBack>(in, len, i, false, found);
    // The rest one character at a time (the byte after the last is taken as 0).
    const auto infoAt = [&](size_t at) { return kText.info[at + 1 < len ? pairIndex(in + at) : in[at]]; };
    while (!found && i < len) {
        if (in[i] < 0x80) {
            i += simd::asciiRun(in + i, len - i);  // most lines of records are ASCII alone
        } else if ((infoAt(i) & TextTables::kComesBack) == 0) {
            found = true;
        } else {
            i += 1 + (infoAt(i) & TextTables::kTwoBytes);
        }
    }
    if (!found) return len;
    length = 1 + (infoAt(i) & TextTables::kTwoBytes);
    return i;
}

}  // namespace

bool roundTripsUnchanged(std::string_view validBytes) {
    size_t length = 0;
    return nextChange(reinterpret_cast<const unsigned char*>(validBytes.data()), validBytes.size(), 0, length) ==
           validBytes.size();
}

void appendRoundTrip(std::string_view validBytes, std::string& out) {
    const auto* in = reinterpret_cast<const unsigned char*>(validBytes.data());
    const size_t len = validBytes.size();
    size_t copied = 0;  // the bytes before this are in `out`
    size_t length = 0;
    for (size_t i = 0; (i = nextChange(in, len, i, length)) < len; i += length) {
        out.append(validBytes.data() + copied, i - copied);
        const char16_t unit = kDecode.units[length == 2 ? pairIndex(in + i) : in[i]];
        kCodes.append(unit, out);
        copied = i + length;
    }
    out.append(validBytes.data() + copied, len - copied);
}

std::string encode(std::u16string_view text) {
    std::string out;
    encodeAppend(text, out);
    return out;
}

}  // namespace vask::cp932
