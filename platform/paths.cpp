// The file operations that every platform does the same way, on top of the platform's
// own (paths_posix.cpp, paths_win32.cpp).
#include <system_error>

#include "platform/errors.h"
#include "platform/paths.h"

namespace vask {
namespace {

// The plain form holds 259 characters; a folder 247, so that every 8.3 name fits below it.
constexpr size_t kLongestPlainPath = 247;

bool startsWith(std::u16string_view text, std::u16string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::u16string extendedLengthForm(std::u16string_view fullPath) {
    const std::u16string path(fullPath);
    // Already a form that the system takes as it is: extended, device, or NT.
    if (path.size() <= kLongestPlainPath || startsWith(path, u"\\\\?\\") || startsWith(path, u"\\\\.\\") ||
        startsWith(path, u"\\??\\")) {
        return path;
    }
    if (startsWith(path, u"\\\\")) return u"\\\\?\\UNC\\" + path.substr(2);
    const auto drive = static_cast<char16_t>(path[0] & ~0x20);  // the letter in upper case
    if (drive >= u'A' && drive <= u'Z' && path[1] == u':' && path[2] == u'\\') return u"\\\\?\\" + path;
    return path;  // a relative path: systemPath makes every path full first
}

std::string readAllBytes(const std::filesystem::path& path) {
    InputFile file(path);
    std::string bytes;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec) bytes.reserve(static_cast<size_t>(size));
    char buffer[1 << 16];
    for (size_t n; (n = file.read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
    return bytes;
}

std::string readPrefix(const std::filesystem::path& path, size_t size) {
    InputFile file(path);
    std::string bytes(size, '\0');
    bytes.resize(file.readFully(bytes.data(), size));
    return bytes;
}

size_t InputFile::readFully(char* buffer, size_t size) {
    size_t got = 0;
    for (size_t n; got < size && (n = read(buffer + got, size - got)) > 0;) got += n;
    return got;
}

bool deleteFile(const std::filesystem::path& path) {
    return retryWhileBusy([&] { return detail::tryDeleteFile(path); });
}

void removeFileIfExists(const std::filesystem::path& path) {
    if (fileExists(path) && !deleteFile(path)) throw Error(msg::cannotDelete(path));
}

bool createFolders(const std::filesystem::path& folder) {
    if (folder.empty() || folderExists(folder)) return !folder.empty();
    const std::filesystem::path parent = folder.parent_path();
    if (!parent.empty() && parent != folder && !folderExists(parent) && !createFolders(parent)) return false;
    return createFolder(folder);
}

}  // namespace vask
