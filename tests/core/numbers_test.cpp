#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "../support/test_support.h"
#include "core/numbers.h"
#include "platform/errors.h"

namespace vask {
namespace {

TEST(ReadInt32, AcceptsWholeSignedDecimalAndHexadecimal) {
    struct Case {
        std::u16string text;
        std::optional<int32_t> value;
    };
    const Case cases[] = {
        {u"0", 0},
        {u"  +12", 12},
        {u"-7", -7},
        {u"000123", 123},
        {u"2147483647", 2147483647},
        {u"-2147483648", INT32_MIN},
        {u"2147483648", std::nullopt},
        {u"-2147483649", std::nullopt},
        {u"99999999999", std::nullopt},
        {u"$1F", 31},
        {u"x1f", 31},
        {u"X10", 16},
        {u"0x10", 16},
        {u"0X10", 16},
        {u"-$10", -16},
        {u"$7FFFFFFF", INT32_MAX},
        {u"$FFFFFFFF", -1},
        {u"$100000000", std::nullopt},
        {u"", std::nullopt},
        {u" ", std::nullopt},
        {u"-", std::nullopt},
        {u"$", std::nullopt},
        {u"0x", std::nullopt},
        {u"1.0", std::nullopt},
        {u"12 ", std::nullopt},
        {u"\t12", std::nullopt},
        {u"1 2", std::nullopt},
        {u"１２", std::nullopt},
        {u"abc", std::nullopt},
        {u"- 1", std::nullopt},
        // The text is read as a whole: U+0000 is a character like any other.
        {std::u16string(u"5\0"
                        u"5",
                        3),
         std::nullopt},
        {std::u16string(u"5\0", 2), std::nullopt},
        {std::u16string(u"$F\0", 3), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(readInt32(c.text), c.value) << std::string(c.text.begin(), c.text.end());
}

TEST(ReadInt64, TakesTheWiderRange) {
    EXPECT_EQ(readInt64(u"9223372036854775807"), INT64_MAX);
    EXPECT_EQ(readInt64(u"-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(readInt64(u"9223372036854775808"), std::nullopt);
    EXPECT_EQ(readInt64(u"2147483648"), 2147483648LL);
    EXPECT_EQ(readInt32Or(u"abc", 7), 7);
}

TEST(ReadDecimal, AcceptsPlainAndExponentNotation) {
    struct Case {
        std::u16string text;
        std::optional<long double> value;
    };
    const Case cases[] = {
        {u"65", 65.0L},
        {u"-3", -3.0L},
        {u"6.5", 6.5L},
        {u".5", 0.5L},
        {u"5.", 5.0L},
        {u" 1e2 ", 100.0L},
        {u"1E-1", 0.1L},
        {u"+2.5e+1", 25.0L},
        {u"", std::nullopt},
        {u".", std::nullopt},
        {u"abc", std::nullopt},
        {u"1.2.3", std::nullopt},
        {u"1e", std::nullopt},
        {u"1,5", std::nullopt},
        {u"inf", std::nullopt},
        {u"nan", std::nullopt},
        {u"0x10", std::nullopt},
        {u"1e99999", std::nullopt},
        {u"１", std::nullopt},
        {std::u16string(u"5\0"
                        u"5",
                        3),
         std::nullopt},
        {std::u16string(u"6.5\0", 4), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(readDecimal(c.text), c.value) << std::string(c.text.begin(), c.text.end());
}

// A desktop program runs under the user's locale, which may write decimals with a comma;
// the files are written with "." whatever it is.
TEST(ReadDecimal, ReadsTheSameUnderACommaDecimalLocale) {
    ASSERT_TRUE(test::useCommaDecimalLocale()) << "no comma-decimal locale could be made";
    const long double cLibrary = std::strtold("65.5", nullptr);  // the C library follows the locale
    const auto sixtyFiveAndAHalf = readDecimal(u"65.5");
    const auto fifteenHundredths = readDecimal(u"0.15");
    const auto withExponent = readDecimal(u"6.55e1");
    const auto comma = readDecimal(u"65,5");
    const std::u16string formatted = formatFixed1(readDecimalStrict(u"65.25"));
    test::useCLocale();
    EXPECT_EQ(cLibrary, 65.0L);
    EXPECT_EQ(sixtyFiveAndAHalf, 65.5L);
    EXPECT_EQ(fifteenHundredths, readDecimal(u"0.15"));
    EXPECT_EQ(withExponent, 65.5L);
    EXPECT_EQ(comma, std::nullopt);
    EXPECT_EQ(formatted, u"65.3");
}

TEST(ReadDecimal, StrictReadingNamesTheValue) {
    try {
        readDecimalStrict(u"abc");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), u"'abc' は浮動小数点数ではありません");
    }
}

TEST(FormatFixed1, RoundsHalvesAwayFromZeroOnEighteenDigits) {
    struct Case {
        std::u16string text;
        std::u16string formatted;
    };
    const Case cases[] = {
        {u"65", u"65.0"},     {u"65.54", u"65.5"},
        {u"65.25", u"65.3"},  {u"0.15", u"0.2"},
        {u"-6.25", u"-6.3"},  {u"65.04", u"65.0"},
        {u"-0.04", u"0.0"},   {u"-0.05", u"-0.1"},
        {u"0.05", u"0.1"},    {u"0.04999", u"0.0"},
        {u"0.005", u"0.0"},   {u"9.95", u"10.0"},
        {u"99.96", u"100.0"}, {u"350.5", u"350.5"},
        {u"1e-30", u"0.0"},   {u"123456789012345678", u"123456789012345678.0"},
        {u"1e20", u"1E20"},   {u"-1.5e20", u"-1.5E20"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatFixed1(*readDecimal(c.text)), c.formatted) << std::string(c.text.begin(), c.text.end());
    }
    EXPECT_EQ(formatFixed1(-0.0L), u"0.0");
}

TEST(FormatIntegerPart, CutsTowardZero) {
    EXPECT_EQ(formatIntegerPart(170.6L), u"170");
    EXPECT_EQ(formatIntegerPart(-3.9L), u"-3");
    EXPECT_EQ(formatIntegerPart(-0.5L), u"0");
    EXPECT_EQ(formatIntegerPart(1e20L), u"100000000000000000000");
}

}  // namespace
}  // namespace vask
