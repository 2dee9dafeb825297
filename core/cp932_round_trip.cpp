#include "core/cp932_round_trip.h"

#include <algorithm>

#include "platform/cp932.h"

namespace vask {

// A '?' is never part of a two-byte code: every '?' the round trip writes beyond those of
// the bytes themselves stands for a byte that is no character. Bytes that came back as
// they were (nearly all of them) lost nothing.
size_t appendCp932RoundTrip(std::string_view bytes, std::string& out) {
    const size_t before = out.size();
    cp932::appendRoundTrip(bytes, out);
    const std::string_view written = std::string_view(out).substr(before);
    if (written == bytes) return 0;
    const auto questionMarks = [](std::string_view text) {
        return static_cast<size_t>(std::count(text.begin(), text.end(), '?'));
    };
    return questionMarks(written) - questionMarks(bytes);
}

}  // namespace vask
