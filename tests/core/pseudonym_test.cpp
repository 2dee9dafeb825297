// Chart-number pseudonyms: the normalised form, the pseudonym's derivation and form, and the
// stop at a collision.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/chart_number.h"
#include "core/numbers.h"
#include "core/pseudonym.h"
#include "core/text.h"
#include "platform/errors.h"

namespace vask {
namespace {

std::string testKey() {
    std::string key;
    for (int i = 0; i < 32; ++i) key.push_back(static_cast<char>(i));
    return key;
}

TEST(NormalisedChartNumber, OnePatientOneFormInEitherFile) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"00697", u"697"},             // leading zeros of a number go
        {u"697", u"697"},               // the form-1 file's form of the same patient
        {u"０６９７", u"697"},          // full-width digits
        {u" 00697-01 ", u"697"},        // trimmed, branch number cut before the zeros go
        {u"００６９７－０１", u"697"},  // a full-width hyphen is a branch mark once made half-width
        {u"00697*0", u"697"},
        {u"00 697/2", u"697"},  // the blank inside goes, as the branch removal drops it
        {u"0000", u"0"},        // a number of zeros only
        {u"a0012", u"A0012"},   // not a number: zeros stay; letters in upper case
        {u"ａ0012", u"A0012"},
        {u"0A12", u"0A12"},
        {u"　", u""},  // the full-width space alone: nothing left
        {u"-01", u""},
        {u"", u""},
    };
    for (const auto& [chart, expected] : cases) EXPECT_EQ(normalisedChartNumber(chart), expected);
}

TEST(ChartPseudonym, KeyedHmacWrittenInItsAlphabet) {
    // Computed apart from this code: HMAC-SHA-256 under the bytes 00..1F of the UTF-8 bytes
    // of the normalised number, the first 8 bytes of the digest big-endian, written in
    // base 25 (A-Z without X) then base 36 (A-Z, 0-9), lowest digit first.
    EXPECT_EQ(pseudonymOfNormalised(testKey(), u"697"), u"JG5XI06SP4");
    EXPECT_EQ(pseudonymOfNormalised(testKey(), u"A12"), u"TETWG9GM0L");
    std::string otherKey = testKey();
    otherKey[0] = 1;
    EXPECT_NE(pseudonymOfNormalised(otherKey, u"697"), u"JG5XI06SP4");
}

TEST(ChartPseudonym, SurvivesTheToolsThatReadChartNumbers) {
    ChartPseudonyms pseudonyms(testKey());
    for (int n = 0; n < 2000; ++n) {
        const std::u16string p(pseudonyms.pseudonymOf(fromAscii(std::to_string(n))));
        ASSERT_TRUE(hasPseudonymForm(p)) << n;
        // No tool may read it as a number, nor change it by letter case.
        EXPECT_FALSE(readInt32(p).has_value());
        EXPECT_EQ(upperCase(p), p);
    }
    EXPECT_FALSE(hasPseudonymForm(u"XABCDEFGHI"));  // X first would read as hexadecimal
    EXPECT_FALSE(hasPseudonymForm(u"1ABCDEFGHI"));
    EXPECT_FALSE(hasPseudonymForm(u"Aabcdefghi"));
    EXPECT_FALSE(hasPseudonymForm(u"ABCDEFGHI"));
}

TEST(ChartPseudonyms, SameNumberSamePseudonymEmptyStaysEmpty) {
    ChartPseudonyms pseudonyms(testKey());
    EXPECT_EQ(pseudonyms.pseudonymOf(u"00697-01"), u"JG5XI06SP4");
    EXPECT_EQ(pseudonyms.pseudonymOf(u"６９７"), u"JG5XI06SP4");
    EXPECT_EQ(pseudonyms.pseudonymOf(u" *0 "), u"");
}

TEST(ChartPseudonyms, ACollisionStopsTheRun) {
    // One character has 25 values: 26 different numbers must meet one pseudonym twice. The
    // run stops at the first number whose pseudonym an earlier number has, not later; each
    // number before it gets its own pseudonym. Under several keys, so that the stop is met
    // at pairs of numbers whose digests differ in many ways.
    for (char first = 0; first < 8; ++first) {
        std::string key = testKey();
        key[0] = first;
        ChartPseudonyms pseudonyms(key, 1);
        std::set<std::u16string> given;
        for (int n = 1; n <= 26; ++n) {
            const std::u16string number = std::u16string(1, char16_t(u'A' + n - 1)) + u"1";
            const std::u16string expected = pseudonymOfNormalised(key, number, 1);
            if (!given.insert(expected).second) {
                EXPECT_THROW(pseudonyms.pseudonymOf(number), Error) << int(first) << " " << n;
                break;
            }
            ASSERT_EQ(pseudonyms.pseudonymOf(number), expected) << int(first) << " " << n;
        }
    }
    ChartPseudonyms pseudonyms(testKey(), 1);
    std::u16string last;
    EXPECT_THROW(
        {
            for (int n = 1; n <= 26; ++n) {
                last = std::u16string(1, char16_t(u'A' + n - 1)) + u"1";
                pseudonyms.pseudonymOf(last);
            }
        },
        Error);
    // The run stays stopped: the number that met the collision, and any other, too (the
    // desktop program goes on to its second file with the same pseudonyms).
    EXPECT_THROW(pseudonyms.pseudonymOf(last), Error);
    EXPECT_THROW(pseudonyms.pseudonymOf(u"A1"), Error);
}

}  // namespace
}  // namespace vask
