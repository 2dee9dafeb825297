#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <thread>

#include "platform/atomic_file.h"

namespace vask::detail {

FileHandle createTempFile(const std::filesystem::path& folder, std::filesystem::path& temp, FileAccess access) {
    // The mode is the file's from its creation (less what the umask takes away), so an
    // owner-only file is never readable by others, not even before the rename.
    const mode_t mode = access == FileAccess::ownerOnly ? 0600 : 0666;
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        char name[40];
        std::snprintf(name, sizeof name, ".~vask-%016llx.tmp", static_cast<unsigned long long>(random()));
        temp = folder / name;
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    temp.clear();
    return kNoFile;
}

bool writeAll(FileHandle handle, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(static_cast<int>(handle), data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
#ifdef __linux__
    // The disk starts on what was written while the rest is made, so the sync before the
    // rename waits for the last bytes only. A hint: whether it is taken changes nothing.
    ::sync_file_range(static_cast<int>(handle), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
    return true;
}

// The data reach the disk before the rename, so a crash never leaves a replaced target
// holding a file that was not written out.
bool flushAndClose(FileHandle handle) {
    const int fd = static_cast<int>(handle);
    const bool synced = ::fdatasync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    return synced && closed;
}

void closeQuietly(FileHandle handle) noexcept { ::close(static_cast<int>(handle)); }

namespace {

// A handle on `target` when it is a large regular file, else -1.
int holdLargeFile(const std::filesystem::path& target) {
    constexpr off_t kLarge = off_t{1} << 20;
    struct stat status {};
    if (::lstat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < kLarge) return -1;
    return ::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace

// A target that another program has open is replaced all the same: no failure passes.
// The replaced file's space is given back when its last handle closes, which for a large
// file takes as long as writing a good part of it: a handle held over the rename and
// closed on a thread of its own lets the run go on meanwhile.
FileTry replaceFile(const std::filesystem::path& temp, const std::filesystem::path& target) {
    const int replaced = holdLargeFile(target);
    const bool renamed = ::rename(temp.c_str(), target.c_str()) == 0;
    if (replaced >= 0) {
        if (renamed) {
            std::thread([replaced] { ::close(replaced); }).detach();
        } else {
            ::close(replaced);
        }
    }
    return renamed ? FileTry::done : FileTry::failed;
}

}  // namespace vask::detail
