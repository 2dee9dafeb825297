// Keyed pseudonyms of chart numbers: the pseudonymisation profile replaces each patient's
// chart number by HMAC-SHA-256 under the clinic's key (core/pseudonym_key.h) of the UTF-8
// bytes of the number in its normalised form (core/chart_number.h), written as 10
// characters of A-Z and 0-9 whose first is a letter other than X. The same patient gets the
// same pseudonym in every month and in claims and form-1 files alike; without the key no
// one can tell the number from the pseudonym.
//
// Why this form: the EHR link layout's chart-number column takes at most 10 characters;
// the tools compare chart numbers without regard to letter case (so: upper case only);
// and the first converter rewrites any text that reads as an integer, also hexadecimal
// after "$", "x", "X" or "0x" (so: a letter first, never X). 25 * 36^9 (about 2.5e15)
// values make a collision among 100 000 patients about as likely as 2e-6; a run that
// meets one stops (ChartPseudonyms).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_index.h"
#include "platform/crypto.h"

namespace vask {

inline constexpr size_t kPseudonymLength = 10;
// Longer pseudonyms would need more of the digest than the 64 bits taken.
inline constexpr size_t kLongestPseudonym = 10;

// Whether `text` has the form of a pseudonym of `length` characters.
bool hasPseudonymForm(std::u16string_view text, size_t length = kPseudonymLength);

// The pseudonym of a chart number already in its normalised form, under `key`, of
// `length` (1 to kLongestPseudonym) characters. Raises Error when the library fails.
std::u16string pseudonymOfNormalised(std::string_view key, std::u16string_view normalised,
                                     size_t length = kPseudonymLength);

// The pseudonyms of one run. The same normalised number always gets the same pseudonym;
// a pseudonym that two different normalised numbers would share raises Error
// (msg::kPseudonymCollision), then and at every later call, so that the run stops and
// writes nothing. `length` is a
// parameter so that tests can force a collision with a short pseudonym.
class ChartPseudonyms {
public:
    explicit ChartPseudonyms(std::string key, size_t length = kPseudonymLength);

    // The pseudonym of `chartNumber`, as a file holds it (normalised here); the empty text
    // for a number that normalises to nothing. Valid until the next call.
    std::u16string_view pseudonymOf(std::u16string_view chartNumber);
    size_t length() const { return length_; }

private:
    HmacSha256 hmac_;
    size_t length_;
    TextIndex numbers_;      // the normalised numbers met
    TextIndex pseudonyms_;   // their pseudonyms
    bool collided_ = false;  // a collision stopped the run
};

}  // namespace vask
