#include "formone/byte_reorder.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "formone/second_converter.h"
#include "platform/cp932.h"

namespace vask::formone {
namespace {

// Output bytes a column gives at most besides two for each byte of its field: a comma and
// a rewritten value (a decimal in its general form, "-1.23456789012345678E4931", is the
// longest).
constexpr size_t kMostPerColumn = 33;

// Copies a field of a few bytes, as most are, without a call: two overlapping copies of 4
// bytes, or three single bytes. Returns the end of the copy.
char* copyField(std::string_view bytes, char* to) {
    const size_t n = bytes.size();
    const char* from = bytes.data();
    if (n > 8) {
        std::memcpy(to, from, n);
    } else if (n >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + n - 4, from + n - 4, 4);
    } else if (n > 0) {
        to[0] = from[0];
        to[n / 2] = from[n / 2];
        to[n - 1] = from[n - 1];
    }
    return to + n;
}

}  // namespace

ByteReorder::ByteReorder(std::span<const int> columnOrder, const TextLineReader& lines) : lines_(lines) {
    std::map<int, size_t> uses;  // a position may feed several columns
    for (const int position : columnOrder) {
        columns_.push_back({position, PositionRules(position)});
        mostPerByte_ = std::max(mostPerByte_, 2 * ++uses[position]);
    }
    const int last = columnOrder.empty() ? -1 : *std::max_element(columnOrder.begin(), columnOrder.end());
    maxFields_ = static_cast<size_t>(last + 1);
}

// `text` in code page 932, adding the characters written as "?" to `lost`.
std::string_view ByteReorder::encoded(std::u16string_view text, size_t& lost) {
    encoded_.clear();
    cp932::encodeAppend(text, encoded_);
    lost += cp932::replacedCount(text, encoded_);
    return encoded_;
}

// ChkStd of a field that is not ASCII: decoded, judged and encoded again.
std::string_view ByteReorder::decodedValue(std::string_view field, int position, size_t& lost) {
    text_.clear();
    lines_.decodeAppend(field, text_);
    switch (judgeValue(text_, position, rewritten_)) {
        case Verdict::Keep:
            return encoded(text_, lost);
        case Verdict::Rewrite:
            return encoded(rewritten_, lost);
        case Verdict::Blank:
            break;
    }
    return {};
}

std::string_view ByteReorder::reorder(std::string_view line, size_t& lost) {
    fields_.split(line, '\t', '\t', maxFields_);
    // A value in code page 932 takes at most two bytes for each byte of its field (a
    // character of UTF-8 or code page 932 takes at least one).
    const size_t most = mostPerByte_ * line.size() + kMostPerColumn * columns_.size();
    if (out_.size() < most) out_.resize(most);
    char* const start = out_.data();
    char* to = start;
    lost = 0;
    bool first = true;
    for (const auto& [position, rules] : columns_) {
        if (position < 0 || static_cast<size_t>(position) >= fields_.size()) continue;
        if (!first) *to++ = ',';
        first = false;
        if (position == kEmptyColumn) continue;
        const auto p = static_cast<size_t>(position);
        std::string_view value = fields_[p];
        if (!fields_.isAscii(p)) {
            value = decodedValue(value, position, lost);
        } else {
            switch (rules.judgeAscii(value, text_, rewritten_)) {
                case Verdict::Keep:
                    break;
                case Verdict::Rewrite:
                    value = encoded(rewritten_, lost);
                    break;
                case Verdict::Blank:
                    value = {};
                    break;
            }
        }
        to = copyField(value, to);
    }
    return {start, static_cast<size_t>(to - start)};
}

}  // namespace vask::formone
