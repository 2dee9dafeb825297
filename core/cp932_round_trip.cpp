#include "core/cp932_round_trip.h"

#include <emmintrin.h>

#include <array>
#include <cstdint>

#include "platform/cp932.h"

namespace vask {
namespace {

constexpr size_t kChunk = 16;  // ASCII bytes are skipped this many at a time (SSE2)

// What a decode and encode make of every byte and every pair, learnt from the codec once.
class RoundTripTable {
public:
    enum class Kind : uint8_t { itself, lead, other };

    RoundTripTable() {
        for (unsigned byte = 0; byte < 256; ++byte) {
            const std::string one(1, static_cast<char>(byte));
            if (byte < 0x80 || cp932::encode(cp932::decode(one)) == one) {
                kinds_[byte] = Kind::itself;
                continue;
            }
            kinds_[byte] = Kind::other;
            for (unsigned trail = 0; trail < 256; ++trail) {
                const std::string pair{static_cast<char>(byte), static_cast<char>(trail)};
                const std::u16string text = cp932::decode(pair);
                if (text.size() != 1 || text[0] == cp932::kReplacement) continue;
                const std::string written = cp932::encode(text);
                if (written.size() != 2) continue;
                kinds_[byte] = Kind::lead;
                pairs_[byte << 8 | trail] = static_cast<uint16_t>(static_cast<unsigned char>(written[0]) << 8 |
                                                                  static_cast<unsigned char>(written[1]));
            }
        }
    }

    Kind kind(unsigned char byte) const { return kinds_[byte]; }
    // The code a pair is written with; 0 when the pair is no character of its own.
    uint16_t pair(unsigned char lead, unsigned char trail) const { return pairs_[lead << 8 | trail]; }

private:
    std::array<Kind, 256> kinds_{};
    std::array<uint16_t, 65536> pairs_{};
};

const RoundTripTable& table() {
    static const RoundTripTable instance;
    return instance;
}

// The position of the first byte from `at` on that is no ASCII character, or the size.
size_t skipAscii(std::string_view bytes, size_t at) {
    for (; at + kChunk <= bytes.size(); at += kChunk) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + at));
        if (const int high = _mm_movemask_epi8(chunk); high != 0) return at + static_cast<size_t>(__builtin_ctz(high));
    }
    while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) < 0x80) ++at;
    return at;
}

}  // namespace

size_t appendCp932RoundTrip(std::string_view bytes, std::string& out) {
    const RoundTripTable& codes = table();
    const size_t start = out.size();
    size_t copied = 0;  // bytes up to here are in `out`
    for (size_t at = skipAscii(bytes, 0); at < bytes.size(); at = skipAscii(bytes, at)) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        const RoundTripTable::Kind kind = codes.kind(byte);
        if (kind == RoundTripTable::Kind::itself) {
            ++at;
            continue;
        }
        const uint16_t code =
            kind == RoundTripTable::Kind::lead && at + 1 < bytes.size() ? codes.pair(byte, bytes[at + 1]) : 0;
        if (code == 0) {
            // No character of its own (a byte or pair the codec reads as U+FFFD, or one
            // whose character it cannot write): the codec itself decides.
            out.resize(start);
            const std::u16string text = cp932::decode(bytes);
            cp932::encodeAppend(text, out);
            return cp932::replacedCount(text, std::string_view(out).substr(start));
        }
        if ((code >> 8) != byte || (code & 0xFF) != static_cast<unsigned char>(bytes[at + 1])) {
            out.append(bytes.substr(copied, at - copied));
            out.push_back(static_cast<char>(code >> 8));
            out.push_back(static_cast<char>(code & 0xFF));
            copied = at + 2;
        }
        at += 2;
    }
    out.append(bytes.substr(copied));
    return 0;
}

}  // namespace vask
