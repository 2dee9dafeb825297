// A decimal number read from a form-1 value, as readDecimal reads it, and its "%3.1f" and
// integer-part forms as formatFixed1 and formatIntegerPart write them.
//
// Form-1 values are plain decimals ("65.5", "7", "-0.04"). Such a value of at most 18
// digits is kept as its digits and formatted from them: the 18 significant digits that
// formatFixed1 expands a value to are then the written digits themselves (extended
// precision holds every decimal of 18 digits exactly enough to give them back), so the
// result is the same text without the round trip through the C library. Any other number
// (an exponent, more digits, blanks around it) is read and formatted by those functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vask::formone {

class DecimalValue {
public:
    explicit DecimalValue(std::u16string_view text);

    // Whether the text reads as a number; the tests and forms below need one.
    bool isNumber() const { return plain_ || value_; }
    bool isZero() const;
    bool isNegative() const;  // below zero
    bool isAbove(unsigned limit) const;
    // formatFixed1 of the value: one decimal, halves rounded away from zero; the second
    // form replaces `out` with it.
    std::u16string fixed1() const;
    void fixed1(std::u16string& out) const;
    // formatIntegerPart of the value: cut toward zero.
    std::u16string integerPart() const;

private:
    // A plain decimal: sign, the value of its integer digits, its fraction digits.
    struct Plain {
        bool negative = false;
        uint64_t integer = 0;
        std::u16string_view fraction;
        bool fractionIsZero() const;
    };
    static std::optional<Plain> readPlain(std::u16string_view text);

    std::optional<Plain> plain_;
    std::optional<long double> value_;  // the value of any other number
};

}  // namespace vask::formone
