// The keyed hash, digest and random bytes of the system's library (OpenSSL on Linux, CNG
// on Windows), each lane checking its own.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/crypto.h"

namespace vask {
namespace {

std::string hex(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (const char byte : bytes) {
        text += digits[static_cast<unsigned char>(byte) >> 4];
        text += digits[static_cast<unsigned char>(byte) & 0xF];
    }
    return text;
}

std::string bytesOfHex(std::string_view text) {
    std::string bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16));
    return bytes;
}

struct MacCase {
    int number;
    std::string key;
    std::string data;
    std::string mac;  // hexadecimal; case 5 lists only the first 128 bits
};

// RFC 4231 ("Identifiers and Test Vectors for HMAC-SHA-224, HMAC-SHA-256, HMAC-SHA-384,
// and HMAC-SHA-512"), section 4, test cases 1 to 7, the HMAC-SHA-256 lines. They cover a
// key shorter than the output (2), key and data longer than a block together (3, 4), and
// keys longer than the block, which HMAC hashes first (6, 7).
const MacCase kRfc4231[] = {
    {1, std::string(20, '\x0b'), "Hi There", "b0344c61d8db38535ca8afceaf0bf12b881dc200c9833da726e9376c2e32cff7"},
    {2, "Jefe", "what do ya want for nothing?", "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843"},
    {3, std::string(20, '\xaa'), std::string(50, '\xdd'),
     "773ea91e36800e46854db8ebd09181a72959098b3ef8c122d9635514ced565fe"},
    {4, bytesOfHex("0102030405060708090a0b0c0d0e0f10111213141516171819"), std::string(50, '\xcd'),
     "82558a389a443c0ea4cc819899f2083a85f0faa3e578f8077a2e3ff46729665b"},
    {5, std::string(20, '\x0c'), "Test With Truncation", "a3b6167473100ee06e0c796c2955552b"},
    {6, std::string(131, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First",
     "60e431591ee0b67f0d8a26aacbf5b77f8e0bc6213728c5140546040f0ee37f54"},
    {7, std::string(131, '\xaa'),
     "This is a test using a larger than block-size key and a larger than block-size data. The key needs to be "
     "hashed before being used by the HMAC algorithm.",
     "9b09ffa71b942fcb27635fbcd5b0e944bfdc63644f0713938a7f51535c3a35e2"},
};

// Once for the one-shot function, and three times in a row for the key prepared once (each
// message must start from the key alone, whatever came before it).
TEST(Crypto, HmacSha256GivesTheRfc4231TestVectors) {
    for (const MacCase& c : kRfc4231) {
        const std::string mac = hmacSha256(c.key, c.data);
        ASSERT_EQ(mac.size(), kSha256Size) << "test case " << c.number;
        EXPECT_EQ(hex(mac).substr(0, c.mac.size()), c.mac) << "test case " << c.number;
        HmacSha256 prepared(c.key);
        for (int round = 0; round < 3; ++round) {
            EXPECT_EQ(hex(prepared.mac(c.data)).substr(0, c.mac.size()), c.mac) << "test case " << c.number;
            EXPECT_EQ(prepared.mac("other"), hmacSha256(c.key, "other")) << "test case " << c.number;
        }
    }
}

// FIPS 180-2, appendix B.1: the one-block message "abc".
TEST(Crypto, Sha256GivesTheFips180Example) {
    EXPECT_EQ(hex(sha256("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(Crypto, RandomBytesAreAsManyAsAskedAndDifferEveryTime) {
    EXPECT_TRUE(randomBytes(0).empty());
    std::set<std::string> draws;
    for (int i = 0; i < 8; ++i) {
        const std::string bytes = randomBytes(32);
        ASSERT_EQ(bytes.size(), 32u);
        draws.insert(bytes);
    }
    EXPECT_EQ(draws.size(), 8u) << "a draw of 256 bits came twice";
    EXPECT_EQ(randomBytes(100000).size(), 100000u);
}

}  // namespace
}  // namespace vask
