#include "replace/input_lines.h"

#include "platform/paths.h"

namespace vask::replace {
namespace {

constexpr size_t kLongestMark = 3;

}  // namespace

InputLines::InputLines(const std::filesystem::path& file) {
    size_t markLength = 0;
    if (encodingFromBom(readPrefix(file, kLongestMark), markLength) == TextEncoding::Cp932) {
        // Without a mark the file must be Shift-JIS text.
        stream_.emplace(file, LineRule::AnyBreak, Cp932Input::ShiftJisText);
    } else {
        marked_.emplace(file);
    }
}

bool InputLines::next(std::u16string& line) {
    if (stream_) return stream_->next(line);
    return marked_->next(line);
}

}  // namespace vask::replace
