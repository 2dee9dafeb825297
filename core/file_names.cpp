#include "core/file_names.h"

#include <algorithm>
#include <array>

#include "platform/errors.h"
#include "platform/paths.h"

namespace vask {
namespace {

// The files shipped beside the executables, and the settings the program keeps there.
// Executables and libraries are known by their extension; on POSIX the programs have none.
constexpr std::array<std::u16string_view, 8> kProgramFiles = {
    u"vask", u"vask-cli", u"siyo4.csv", u"movacal.csv", u"user.ini", u"manual", u"vask.desktop", u"vask.png",
};
constexpr std::array<std::u16string_view, 2> kProgramExtensions = {u".exe", u".dll"};

bool isAnInput(const std::filesystem::path& path, const std::vector<std::filesystem::path>& inputs) {
    return std::any_of(inputs.begin(), inputs.end(), [&](const auto& input) { return sameFile(path, input); });
}

}  // namespace

bool isForbiddenInFileName(char16_t c) {
    return c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos;
}

bool isPlainFileName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    return std::none_of(name.begin(), name.end(), isForbiddenInFileName);
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
    if (isAnInput(output, inputs)) throw Error(msg::inputWouldBeReplaced(output));
}

bool isProgramFileName(std::u16string_view name) {
    const std::u16string key = fileNameKey(name);
    const auto is = [&](std::u16string_view file) { return key == fileNameKey(file); };
    const auto endsWith = [&](std::u16string_view extension) {
        const std::u16string tail = fileNameKey(extension);
        return key.size() > tail.size() && std::u16string_view(key).ends_with(tail);
    };
    return std::any_of(kProgramFiles.begin(), kProgramFiles.end(), is) ||
           std::any_of(kProgramExtensions.begin(), kProgramExtensions.end(), endsWith);
}

std::filesystem::path outputPath(const std::filesystem::path& folder, std::u16string_view name,
                                 const OutputRules& rules) {
    requirePlainFileName(name);
    std::u16string chosen(name);
    std::filesystem::path path = folder / toPath(chosen);
    if (rules.markerOnInput.empty()) {
        refuseToReplaceInputs(path, rules.inputs);
    } else {
        while (isAnInput(path, rules.inputs)) {
            chosen = insertBeforeExtension(chosen, rules.markerOnInput);
            path = folder / toPath(chosen);
        }
    }
    if (rules.programFolder && isProgramFileName(chosen)) throw Error(msg::programFileWouldBeReplaced(path));
    return path;
}

}  // namespace vask
