// Reading and writing numbers the one way every tool does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vask {

// --- Integer reading: optional leading spaces (U+0020), an optional sign, then decimal
// digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X". Hexadecimal takes up to
// the full width of the type (so "$FFFFFFFF" reads as -1); decimal must fit the signed type.
// Anything else (a decimal point, a trailing character, the empty text) reads as nothing.
std::optional<int32_t> readInt32(std::u16string_view text);
std::optional<int64_t> readInt64(std::u16string_view text);
int32_t readInt32Or(std::u16string_view text, int32_t fallback);

// --- Decimal reading: optional spaces, sign, digits with an optional "." and fraction
// (at least one digit in all), an optional exponent "e"/"E" with sign and digits, optional
// spaces. Read in extended precision; an overflow reads as nothing.
std::optional<long double> readDecimal(std::u16string_view text);
long double readDecimalOr(std::u16string_view text, long double fallback);
// Raises Error "'%s' は浮動小数点数ではありません" when `text` is no number.
long double readDecimalStrict(std::u16string_view text);

// "%3.1f": the value expanded to 18 significant digits, then rounded to one decimal with
// halves away from zero; no sign on a value that rounds to zero.
std::u16string formatFixed1(long double value);
// The integer part (cut toward zero) in plain decimal form.
std::u16string formatIntegerPart(long double value);
std::u16string formatInt(long long value);

}  // namespace vask
