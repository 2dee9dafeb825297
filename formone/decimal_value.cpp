#include "formone/decimal_value.h"

#include <string>

#include "core/numbers.h"

namespace vask::formone {
namespace {

// Digits that extended precision gives back exactly (LDBL_DIG of the x87 format).
constexpr size_t kExactDigits = 18;

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

std::optional<DecimalValue::Plain> DecimalValue::readPlain(std::u16string_view text) {
    Plain plain;
    size_t i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) plain.negative = text[i++] == u'-';
    const size_t integerStart = i;
    for (; i < text.size() && isDigit(text[i]); ++i) plain.integer = plain.integer * 10 + (text[i] - u'0');
    size_t digits = i - integerStart;  // the integer wraps around past 19 digits, which are refused
    if (i < text.size() && text[i] == u'.') {
        const size_t fractionStart = ++i;
        while (i < text.size() && isDigit(text[i])) ++i;
        plain.fraction = text.substr(fractionStart, i - fractionStart);
        digits += plain.fraction.size();
    }
    if (i != text.size() || digits == 0 || digits > kExactDigits) return std::nullopt;
    return plain;
}

bool DecimalValue::Plain::fractionIsZero() const {
    return fraction.find_first_not_of(u'0') == std::u16string_view::npos;
}

DecimalValue::DecimalValue(std::u16string_view text) : plain_(readPlain(text)) {
    if (!plain_) value_ = readDecimal(text);
}

bool DecimalValue::isZero() const {
    if (plain_) return plain_->integer == 0 && plain_->fractionIsZero();
    return value_ && *value_ == 0;
}

bool DecimalValue::isNegative() const {
    if (plain_) return plain_->negative && !isZero();
    return value_ && *value_ < 0;
}

bool DecimalValue::isAbove(unsigned limit) const {
    if (plain_) {
        if (plain_->negative) return false;
        return plain_->integer > limit || (plain_->integer == limit && !plain_->fractionIsZero());
    }
    return value_ && *value_ > limit;
}

namespace {

// `value` in decimal digits, with a minus sign before them when `negative`.
void appendDigits(bool negative, uint64_t value, std::u16string& out) {
    char16_t digits[20];
    size_t count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    if (negative) out += u'-';
    while (count > 0) out += digits[--count];
}

}  // namespace

void DecimalValue::fixed1(std::u16string& out) const {
    if (!plain_) {
        out = formatFixed1(value_.value_or(0));
        return;
    }
    // Tenths, rounded up when the next digit is 5 or more (at most 10^19, within 64 bits).
    const auto digit = [&](size_t k) -> uint64_t {
        return k < plain_->fraction.size() ? plain_->fraction[k] - u'0' : 0;
    };
    const uint64_t tenths = plain_->integer * 10 + digit(0) + (digit(1) >= 5 ? 1 : 0);
    out.clear();
    appendDigits(plain_->negative && tenths != 0, tenths / 10, out);
    out += u'.';
    out += static_cast<char16_t>(u'0' + tenths % 10);
}

std::u16string DecimalValue::fixed1() const {
    std::u16string out;
    fixed1(out);
    return out;
}

std::u16string DecimalValue::integerPart() const {
    if (!plain_) return formatIntegerPart(value_.value_or(0));
    std::u16string out;
    appendDigits(plain_->negative && plain_->integer != 0, plain_->integer, out);
    return out;
}

}  // namespace vask::formone
