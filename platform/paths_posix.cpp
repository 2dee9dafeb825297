// POSIX side of the file edge: paths are byte strings, UTF-8 as a rule.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <system_error>
#include <vector>

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask {

// A name that is no UTF-8 (one made under another code page, such as Shift-JIS) keeps its
// bytes through the escaped transformations: it can be opened and written as it is.
std::filesystem::path toPath(std::u16string_view text) { return std::filesystem::path(utf16ToUtf8Escaped(text)); }

std::u16string fromPath(const std::filesystem::path& path) { return utf8ToUtf16Escaped(path.native()); }

std::u16string fileNameKey(std::u16string_view name) { return std::u16string(name); }

// No length limit here but the system's own, which every call reports by itself.
std::filesystem::path systemPath(const std::filesystem::path& path) { return path; }

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

// A file that another program has open can be deleted and renamed here: no failure
// passes by itself.
FileTry detail::tryDeleteFile(const std::filesystem::path& path) {
    return ::unlink(path.c_str()) == 0 ? FileTry::done : FileTry::failed;
}

bool renameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool createFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directory(folder, ec);
    return folderExists(folder);
}

std::filesystem::path executableFolder() {
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return std::filesystem::current_path();
        if (static_cast<size_t>(n) < buffer.size()) {
            return std::filesystem::path(std::string(buffer.data(), static_cast<size_t>(n))).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
}

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
    int fd = -1;
    // Only a regular file: a FIFO would block the open, a device such as /dev/zero would
    // never end.
    if (fileExists(path)) {
        do {
            fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        } while (fd < 0 && errno == EINTR);
    }
    if (fd < 0) throw Error(msg::cannotOpen(path));
    handle_ = fd;
}

InputFile::~InputFile() { ::close(static_cast<int>(handle_)); }

size_t InputFile::read(char* buffer, size_t size) {
    const int fd = static_cast<int>(handle_);
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n >= 0) return static_cast<size_t>(n);
        if (errno != EINTR) throw Error(msg::cannotOpen(path_));
    }
}

}  // namespace vask
