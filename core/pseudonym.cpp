#include "core/pseudonym.h"

#include <algorithm>
#include <cstdint>

#include "core/chart_number.h"
#include "core/messages.h"
#include "platform/crypto.h"
#include "platform/errors.h"
#include "platform/utf.h"

namespace vask {
namespace {

// The first character: every capital letter but X, so that no pseudonym reads as a number.
constexpr std::u16string_view kFirst = u"ABCDEFGHIJKLMNOPQRSTUVWYZ";
constexpr std::u16string_view kOthers = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// The pseudonym written from the digest of a normalised number.
std::u16string pseudonymOfDigest(std::string_view mac, size_t length) {
    // The first 64 bits of the digest, read as a number and written in the mixed base of
    // the characters (25 for the first, 36 for the others): 25 * 36^9 < 2^64 / 7000, so
    // no value is measurably likelier than another.
    std::uint64_t value = 0;
    for (size_t i = 0; i < 8; ++i) value = (value << 8) | static_cast<unsigned char>(mac[i]);
    std::u16string pseudonym;
    pseudonym.push_back(kFirst[value % kFirst.size()]);
    value /= kFirst.size();
    for (size_t i = 1; i < length; ++i) {
        pseudonym.push_back(kOthers[value % kOthers.size()]);
        value /= kOthers.size();
    }
    return pseudonym;
}

void checkLength(size_t length) {
    if (length == 0 || length > kLongestPseudonym) throw Error(u"pseudonym length out of range");
}

}  // namespace

bool hasPseudonymForm(std::u16string_view text, size_t length) {
    if (text.size() != length || length == 0) return false;
    // kFirst and kOthers as ranges: the check runs for every claim of a file.
    const auto isLetter = [](char16_t c) { return c >= u'A' && c <= u'Z'; };
    if (!isLetter(text[0]) || text[0] == u'X') return false;
    return std::all_of(text.begin() + 1, text.end(),
                       [&](char16_t c) { return isLetter(c) || (c >= u'0' && c <= u'9'); });
}

std::u16string pseudonymOfNormalised(std::string_view key, std::u16string_view normalised, size_t length) {
    checkLength(length);
    return pseudonymOfDigest(hmacSha256(key, utf16ToUtf8(normalised)), length);
}

ChartPseudonyms::ChartPseudonyms(std::string key, size_t length) : hmac_(key), length_(length) { checkLength(length); }

std::u16string_view ChartPseudonyms::pseudonymOf(std::u16string_view chartNumber) {
    if (collided_) throw Error(std::u16string(msg::kPseudonymCollision));
    const std::u16string number = normalisedChartNumber(chartNumber);
    if (number.empty()) return {};
    // Numbers and pseudonyms are added together, so that a number's index is its pseudonym's.
    const auto [numberIndex, newNumber] = numbers_.insert(number);
    if (!newNumber) return pseudonyms_.text(numberIndex);
    const auto [pseudonymIndex, newPseudonym] =
        pseudonyms_.insert(pseudonymOfDigest(hmac_.mac(utf16ToUtf8(number)), length_));
    // A new number whose pseudonym is not new: another number had it. The indexes no
    // longer pair, and the run stops for good.
    collided_ = !newPseudonym;
    if (collided_) throw Error(std::u16string(msg::kPseudonymCollision));
    return pseudonyms_.text(pseudonymIndex);
}

}  // namespace vask
