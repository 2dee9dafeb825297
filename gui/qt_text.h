// The window edge: UTF-16 texts of the core <-> QString, and paths.
#pragma once

#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/paths.h"

namespace vask {

inline QString qs(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::u16string u16(const QString& text) { return text.toStdU16String(); }
// A path as the windows show it (the text fromPath gives).
inline QString qsPath(const std::filesystem::path& path) { return qs(fromPath(path)); }

}  // namespace vask
