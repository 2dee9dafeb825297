// The SSE2 forms of the block helpers against the plain loops that other processors run:
// the same masks and the same bytes for random blocks and for every byte value.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/cp932_ascii.h"

namespace vask {
namespace {

#ifdef VASK_CP932_SSE2

namespace sse2 = cp932::simd::sse2;
namespace portable = cp932::simd::portable;

// Blocks of random bytes, of each byte value alone among ASCII, and of runs of it.
std::vector<std::string> someBlocks() {
    std::vector<std::string> blocks;
    std::mt19937 random(16);
    for (int round = 0; round < 2000; ++round) {
        std::string block(64, '\0');
        for (auto& byte : block) byte = static_cast<char>(random() % 4 == 0 ? random() % 128 : random() % 256);
        blocks.push_back(block);
    }
    for (int value = 0; value < 256; ++value) {
        std::string block(64, 'a');
        block[static_cast<size_t>(value) % 64] = static_cast<char>(value);
        blocks.push_back(block);
        blocks.emplace_back(64, static_cast<char>(value));
    }
    return blocks;
}

TEST(Cp932Blocks, BytesGiveTheSameMasksAndUnits) {
    for (const auto& block : someBlocks()) {
        const auto* p = reinterpret_cast<const unsigned char*>(block.data());
        SCOPED_TRACE(testing::PrintToString(block));
        for (size_t at = 0; at < 64; at += 16) {
            const auto fast = sse2::load16(p + at);
            const auto plain = portable::load16(p + at);
            ASSERT_EQ(sse2::highBytes(fast), portable::highBytes(plain));
            ASSERT_EQ(sse2::zeroOrHighBytes(fast), portable::zeroOrHighBytes(plain));
            for (const auto& [lo, hi] :
                 {std::pair{0xA1, 0xDC}, std::pair{0x00, 0x7F}, std::pair{0x80, 0xFF}, std::pair{0x40, 0x40}}) {
                const auto l = static_cast<unsigned char>(lo);
                const auto h = static_cast<unsigned char>(hi);
                ASSERT_EQ(sse2::bytesIn(sse2::flip(fast, 0x20), l, h),
                          portable::bytesIn(portable::flip(plain, 0x20), l, h));
            }
            char16_t wide[2][16];
            sse2::widen16(fast, wide[0]);
            portable::widen16(plain, wide[1]);
            ASSERT_EQ(std::u16string(wide[0], 16), std::u16string(wide[1], 16));
        }
        ASSERT_EQ(sse2::anyStop64(p, false), portable::anyStop64(p, false));
        ASSERT_EQ(sse2::anyStop64(p, true), portable::anyStop64(p, true));
    }
}

TEST(Cp932Blocks, UnitsGiveTheSameMasksAndBytes) {
    std::mt19937 random(16);
    const char16_t edges[] = {0x7F,   0x80,   0xFF,   0x100,  0x7FFF, 0x8000, 0xD7FF,
                              0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xE000, 0xFFFD, 0xFFFF};
    for (int round = 0; round < 4000; ++round) {
        char16_t units[16];
        for (auto& unit : units) {
            const unsigned kind = round % 4 == 0 ? 0 : random() % 3;
            unit = kind == 0   ? static_cast<char16_t>(random() % 0x80)
                   : kind == 1 ? edges[random() % std::size(edges)]
                               : static_cast<char16_t>(random());
        }
        SCOPED_TRACE(testing::PrintToString(std::u16string(units, 16)));
        const auto fast = sse2::load16(units);
        const auto plain = portable::load16(units);
        ASSERT_EQ(sse2::highUnits(fast), portable::highUnits(plain));
        ASSERT_EQ(sse2::surrogates(fast), portable::surrogates(plain));
        for (const size_t n : {size_t{0}, size_t{7}, size_t{8}, size_t{16}}) {
            ASSERT_EQ(sse2::findUnit(units, n, 0xFFFD), portable::findUnit(units, n, 0xFFFD));
        }
        if (sse2::highUnits(fast) != 0) continue;  // narrowing is for ASCII
        char narrow[2][16];
        sse2::narrow16(fast, narrow[0]);
        portable::narrow16(plain, narrow[1]);
        ASSERT_EQ(std::string(narrow[0], 16), std::string(narrow[1], 16));
    }
}

#endif

}  // namespace
}  // namespace vask
