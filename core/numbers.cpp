#include "core/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "core/text.h"
#include "platform/errors.h"

namespace vask {
namespace {

// Walks a text that is read as a whole: U+0000 is an ordinary character, and only the
// end of the text ends it. Past the end, `at` gives U+0000, which no step accepts.
struct Cursor {
    std::u16string_view text;
    size_t i = 0;
    char16_t at(size_t k) const { return k < text.size() ? text[k] : u'\0'; }
    char16_t cur() const { return at(i); }
    bool atEnd() const { return i >= text.size(); }
};

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

template <typename Int>
std::optional<Int> readInteger(std::u16string_view text) {
    using UInt = std::make_unsigned_t<Int>;
    constexpr UInt kMax = static_cast<UInt>(std::numeric_limits<Int>::max());
    if (text.empty()) return std::nullopt;
    Cursor c{text};
    while (c.cur() == u' ') ++c.i;
    bool negative = false;
    if (c.cur() == u'-') {
        negative = true;
        ++c.i;
    } else if (c.cur() == u'+') {
        ++c.i;
    }
    UInt value = 0;
    bool empty = true;
    const bool hex = (c.cur() == u'0' && (c.at(c.i + 1) == u'x' || c.at(c.i + 1) == u'X')) || c.cur() == u'$' ||
                     c.cur() == u'x' || c.cur() == u'X';
    if (hex) {
        c.i += c.cur() == u'0' ? 2 : 1;
        for (int d; (d = hexDigit(c.cur())) >= 0; ++c.i) {
            if (value > (kMax >> 3)) break;  // one more digit would pass the type's width
            value = static_cast<UInt>(value << 4) + static_cast<UInt>(d);
            empty = false;
        }
        if (negative) value = static_cast<UInt>(0 - value);
    } else {
        for (; c.cur() >= u'0' && c.cur() <= u'9'; ++c.i) {
            if (value > kMax / 10) break;
            value = static_cast<UInt>(value * 10 + static_cast<UInt>(c.cur() - u'0'));
            empty = false;
        }
        if (negative) value = static_cast<UInt>(0 - value);
        const Int result = static_cast<Int>(value);
        // The last digit carried the value past the signed range.
        if (result != 0 && negative != (result < 0)) return std::nullopt;
    }
    if (empty || !c.atEnd()) return std::nullopt;
    return static_cast<Int>(value);
}

}  // namespace

std::optional<int32_t> readInt32(std::u16string_view text) { return readInteger<int32_t>(text); }

std::optional<int64_t> readInt64(std::u16string_view text) { return readInteger<int64_t>(text); }

int32_t readInt32Or(std::u16string_view text, int32_t fallback) { return readInt32(text).value_or(fallback); }

namespace {

// A decimal exponent far beyond what extended precision holds, to which longer exponents
// are cut: the value overflows or underflows all the same.
constexpr long long kExponentLimit = 1'000'000'000'000LL;

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Appends the digits at the cursor to `out`; returns how many there were.
size_t takeDigits(Cursor& c, std::string& out) {
    const size_t first = c.i;
    for (; isDigit(c.cur()); ++c.i) out.push_back(static_cast<char>(c.cur()));
    return c.i - first;
}

}  // namespace

std::optional<long double> readDecimal(std::u16string_view text) {
    Cursor c{text};
    // The number is handed to strtold without a decimal point, as its digits and a power
    // of ten: that form reads the same under every locale (LC_NUMERIC of a desktop program
    // may name a comma), and strtold rounds it to the same value as the written form.
    std::string mantissa;
    while (c.cur() == u' ') ++c.i;
    if (c.cur() == u'+' || c.cur() == u'-') mantissa.push_back(static_cast<char>(c.text[c.i++]));
    size_t digits = takeDigits(c, mantissa);
    size_t fractionDigits = 0;
    if (c.cur() == u'.') {
        ++c.i;
        fractionDigits = takeDigits(c, mantissa);
        digits += fractionDigits;
    }
    if (digits == 0) return std::nullopt;
    long long exponent = 0;
    if (c.cur() == u'e' || c.cur() == u'E') {
        ++c.i;
        const bool negative = c.cur() == u'-';
        if (c.cur() == u'+' || c.cur() == u'-') ++c.i;
        if (!isDigit(c.cur())) return std::nullopt;
        for (; isDigit(c.cur()); ++c.i) exponent = std::min(exponent * 10 + (c.cur() - u'0'), kExponentLimit);
        if (negative) exponent = -exponent;
    }
    while (c.cur() == u' ') ++c.i;
    if (!c.atEnd()) return std::nullopt;
    exponent -= static_cast<long long>(std::min<size_t>(fractionDigits, kExponentLimit));
    mantissa += "e" + std::to_string(exponent);
    const long double value = std::strtold(mantissa.c_str(), nullptr);
    if (std::isinf(value) || std::isnan(value)) return std::nullopt;
    return value;
}

long double readDecimalOr(std::u16string_view text, long double fallback) {
    return readDecimal(text).value_or(fallback);
}

long double readDecimalStrict(std::u16string_view text) {
    const auto value = readDecimal(text);
    if (!value) throw Error(msg::notAFloat(text));
    return *value;
}

namespace {

constexpr int kSignificantDigits = 18;

// The magnitude of `value` as 18 significant digits and the decimal exponent of the
// first of them (value = 0.d1d2... * 10^(pointPos)).
void significantDigits(long double value, std::string& digits, int& pointPos) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", kSignificantDigits - 1, std::fabs(value));
    digits.clear();
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') digits.push_back(*p);
    }
    pointPos = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;
}

// Too many integer digits for fixed notation: the general form, "1.5E20".
std::u16string generalForm(bool negative, std::string digits, int pointPos) {
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out = negative ? "-" : "";
    out += digits[0];
    if (digits.size() > 1) out += "." + digits.substr(1);
    out += "E" + std::to_string(pointPos - 1);
    return fromAscii(out);
}

}  // namespace

std::u16string formatFixed1(long double value) {
    if (value == 0 || std::isnan(value)) return u"0.0";
    std::string digits;
    int pointPos = 0;
    significantDigits(value, digits, pointPos);
    const bool negative = value < 0;
    if (pointPos > kSignificantDigits) return generalForm(negative, digits, pointPos);

    const int keep = pointPos + 1;  // digits up to and including the first decimal
    if (keep < 0) return u"0.0";
    if (keep < kSignificantDigits) {
        const bool roundUp = digits[static_cast<size_t>(keep)] >= '5';
        digits.resize(static_cast<size_t>(keep));
        if (roundUp) {
            int k = keep - 1;
            for (; k >= 0 && digits[static_cast<size_t>(k)] == '9'; --k) digits[static_cast<size_t>(k)] = '0';
            if (k >= 0) {
                ++digits[static_cast<size_t>(k)];
            } else {
                digits.insert(digits.begin(), '1');
                ++pointPos;
            }
        }
    } else {
        digits.append(static_cast<size_t>(keep - kSignificantDigits), '0');
    }
    // Now digits holds every digit down to the first decimal; pointPos of them are integer digits.
    std::string integerPart = pointPos > 0 ? digits.substr(0, static_cast<size_t>(pointPos)) : "0";
    const char decimal =
        pointPos >= 0 && static_cast<size_t>(pointPos) < digits.size() ? digits[static_cast<size_t>(pointPos)] : '0';
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    std::string out = (negative && !zero) ? "-" : "";
    out += integerPart;
    out += '.';
    out += decimal;
    return fromAscii(out);
}

std::u16string formatIntegerPart(long double value) {
    const long double whole = std::trunc(value);
    char buffer[8192];
    std::snprintf(buffer, sizeof buffer, "%.0Lf", whole == 0 ? 0.0L : whole);
    return fromAscii(buffer);
}

std::u16string formatInt(long long value) { return fromAscii(std::to_string(value)); }

}  // namespace vask
