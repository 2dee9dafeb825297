// The file operations that the standard library does the same way on every platform.
#include <system_error>

#include "platform/errors.h"
#include "platform/paths.h"

namespace vask {

bool fileExists(const std::filesystem::path& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool folderExists(const std::filesystem::path& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
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

void removeFileIfExists(const std::filesystem::path& path) {
    std::error_code ec;
    if (!fileExists(path)) return;
    if (!std::filesystem::remove(path, ec) || ec) throw Error(msg::cannotDelete(path));
}

}  // namespace vask
