#include "core/file_names.h"

#include "platform/errors.h"
#include "platform/paths.h"

namespace vask {

bool isPlainFileName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    for (char16_t c : name) {
        if (c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos) return false;
    }
    return true;
}

void requirePlainFileName(std::u16string_view name) {
    if (!isPlainFileName(name)) throw Error(msg::invalidFileName(name));
}

std::u16string insertBeforeExtension(std::u16string_view name, std::u16string_view marker) {
    const size_t dot = name.rfind(u'.');
    const size_t cut = (dot == std::u16string_view::npos || dot == 0) ? name.size() : dot;
    std::u16string result(name.substr(0, cut));
    result += marker;
    result += name.substr(cut);
    return result;
}

std::u16string_view fileNamePart(std::u16string_view path) {
    const size_t cut = path.find_last_of(u"\\/:");
    return cut == std::u16string_view::npos ? path : path.substr(cut + 1);
}

void refuseToReplaceInputs(const std::filesystem::path& output, const std::vector<std::filesystem::path>& inputs) {
    for (const auto& input : inputs) {
        if (sameFile(output, input)) throw Error(msg::inputWouldBeReplaced(output));
    }
}

}  // namespace vask
