// Sixteen bytes, or sixteen UTF-16 units, looked at together: the codec and the text walks
// skip runs of ASCII and find lead bytes this way. On x86-64 (the Windows build included)
// with SSE2, which every such processor has; elsewhere with plain loops that give the
// same answers (namespace portable, which the tests compare with the SSE2 one).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define VASK_CP932_SSE2 1
#endif

namespace vask::cp932::simd {

// Masks have bit k for byte (or unit) k.

namespace portable {

struct Bytes16 {
    unsigned char b[16];
};

inline Bytes16 load16(const unsigned char* p) {
    Bytes16 r;
    std::memcpy(r.b, p, sizeof r.b);
    return r;
}
inline unsigned highBytes(Bytes16 b) {
    unsigned mask = 0;
    for (int k = 0; k < 16; ++k) mask |= static_cast<unsigned>(b.b[k] >> 7) << k;
    return mask;
}
inline unsigned zeroOrHighBytes(Bytes16 b) {
    unsigned mask = 0;
    for (int k = 0; k < 16; ++k) mask |= static_cast<unsigned>(b.b[k] == 0 || b.b[k] >= 0x80) << k;
    return mask;
}
inline Bytes16 flip(Bytes16 b, unsigned char bits) {
    for (auto& byte : b.b) byte ^= bits;
    return b;
}
inline unsigned bytesIn(Bytes16 b, unsigned char lo, unsigned char hi) {
    unsigned mask = 0;
    for (int k = 0; k < 16; ++k) mask |= static_cast<unsigned>(b.b[k] >= lo && b.b[k] <= hi) << k;
    return mask;
}
inline void widen16(Bytes16 b, char16_t* out) {
    for (int k = 0; k < 16; ++k) out[k] = b.b[k];
}

struct Units16 {
    char16_t u[16];
};

inline Units16 load16(const char16_t* p) {
    Units16 r;
    std::memcpy(r.u, p, sizeof r.u);
    return r;
}
inline unsigned highUnits(Units16 u) {
    unsigned mask = 0;
    for (int k = 0; k < 16; ++k) mask |= static_cast<unsigned>(u.u[k] >= 0x80) << k;
    return mask;
}
inline unsigned surrogates(Units16 u) {
    unsigned mask = 0;
    for (int k = 0; k < 16; ++k) mask |= static_cast<unsigned>(u.u[k] >= 0xD800 && u.u[k] <= 0xDFFF) << k;
    return mask;
}
inline void narrow16(Units16 u, char* out) {
    for (int k = 0; k < 16; ++k) out[k] = static_cast<char>(u.u[k]);
}

inline bool anyStop64(const unsigned char* p, bool orNul) {
    for (int k = 0; k < 64; ++k) {
        if (p[k] >= 0x80 || (orNul && p[k] == 0)) return true;
    }
    return false;
}
inline bool findUnit(const char16_t* units, size_t n, char16_t value) {
    for (size_t i = 0; i < n; ++i) {
        if (units[i] == value) return true;
    }
    return false;
}

}  // namespace portable

#ifdef VASK_CP932_SSE2

namespace sse2 {

struct Bytes16 {
    __m128i v;
};

inline Bytes16 load16(const unsigned char* p) { return {_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))}; }
// The bytes from 0x80 on.
inline unsigned highBytes(Bytes16 b) { return static_cast<unsigned>(_mm_movemask_epi8(b.v)); }
// The bytes 00 and those from 0x80 on (what is no ASCII text): as signed numbers, those
// below 1.
inline unsigned zeroOrHighBytes(Bytes16 b) {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(_mm_set1_epi8(1), b.v)));
}
// The bytes with `bits` flipped.
inline Bytes16 flip(Bytes16 b, unsigned char bits) {
    return {_mm_xor_si128(b.v, _mm_set1_epi8(static_cast<char>(bits)))};
}
// The bytes lo..hi (at most 128 apart): moved so that lo becomes -128, those below the
// signed number that hi + 1 becomes.
inline unsigned bytesIn(Bytes16 b, unsigned char lo, unsigned char hi) {
    const __m128i moved = _mm_add_epi8(b.v, _mm_set1_epi8(static_cast<char>(0x80 - lo)));
    const __m128i limit = _mm_set1_epi8(static_cast<char>(hi - lo + 1 - 128));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(limit, moved)));
}
// Each byte as a UTF-16 unit of the same value, into out[0..15].
inline void widen16(Bytes16 b, char16_t* out) {
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(b.v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(b.v, zero));
}

struct Units16 {
    __m128i lo, hi;
};

inline Units16 load16(const char16_t* p) {
    return {_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8))};
}
// The units from 0x80 on. A saturating add moves exactly those to 0x8000 and above, which
// the signed narrowing turns into bytes with the high bit set.
inline unsigned highUnits(Units16 u) {
    const __m128i lift = _mm_set1_epi16(0x7F80);
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_packs_epi16(_mm_adds_epu16(u.lo, lift), _mm_adds_epu16(u.hi, lift))));
}
// The units D800..DFFF.
inline unsigned surrogates(Units16 u) {
    const __m128i top = _mm_set1_epi16(static_cast<short>(0xF800));
    const __m128i surrogate = _mm_set1_epi16(static_cast<short>(0xD800));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(
        _mm_cmpeq_epi16(_mm_and_si128(u.lo, top), surrogate), _mm_cmpeq_epi16(_mm_and_si128(u.hi, top), surrogate))));
}
// The units as bytes into out[0..15]; exact for the units below 0x100.
inline void narrow16(Units16 u, char* out) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(u.lo, u.hi));
}

// Whether any of the 64 bytes at p is from 0x80 on, or NUL when `orNul`.
inline bool anyStop64(const unsigned char* p, bool orNul) {
    const __m128i a = load16(p).v, b = load16(p + 16).v, c = load16(p + 32).v, d = load16(p + 48).v;
    if (orNul) {
        const __m128i one = _mm_set1_epi8(1);
        return _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(_mm_cmpgt_epi8(one, a), _mm_cmpgt_epi8(one, b)),
                                              _mm_or_si128(_mm_cmpgt_epi8(one, c), _mm_cmpgt_epi8(one, d)))) != 0;
    }
    return _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))) != 0;
}
// Whether `value` is among units[0..n).
inline bool findUnit(const char16_t* units, size_t n, char16_t value) {
    const __m128i v = _mm_set1_epi16(static_cast<short>(value));
    __m128i found = _mm_setzero_si128();
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        found = _mm_or_si128(found, _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i)), v));
    }
    return _mm_movemask_epi8(found) != 0 || portable::findUnit(units + i, n - i, value);
}

}  // namespace sse2

using namespace sse2;
#else
using namespace portable;
#endif

// The lowest set bit of a mask that has one.
inline unsigned lowestBit(uint64_t mask) { return static_cast<unsigned>(std::countr_zero(mask)); }

// The index of the first byte of an eight-byte word, read from memory, whose high bit is
// set in `high` (the word with every other bit cleared).
inline unsigned highByteIndex(uint64_t high) {
    if constexpr (std::endian::native == std::endian::little) return lowestBit(high) / 8;
    return static_cast<unsigned>(std::countl_zero(high)) / 8;
}

// Length of the run of ASCII bytes (00..7F) at the start of p[0..n).
inline size_t asciiRun(const unsigned char* p, size_t n) {
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        if (const unsigned high = highBytes(load16(p + i))) return i + lowestBit(high);
    }
    // The last bytes: eight at a time while there are eight, then one by one.
    if (i + 8 <= n) {
        uint64_t word = 0;
        std::memcpy(&word, p + i, 8);
        if (const uint64_t high = word & 0x8080'8080'8080'8080u) return i + highByteIndex(high);
        i += 8;
    }
    while (i < n && p[i] < 0x80) ++i;
    return i;
}

// Length of the run of ASCII text (01..7F: no NUL) at the start of p[0..n).
inline size_t asciiTextRun(const unsigned char* p, size_t n) {
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        if (const unsigned stop = zeroOrHighBytes(load16(p + i))) return i + lowestBit(stop);
    }
    while (i < n && p[i] != 0 && p[i] < 0x80) ++i;
    return i;
}

}  // namespace vask::cp932::simd
