// Every file the program writes goes through AtomicFile: the bytes go to a temporary file
// in the target's folder, which replaces the target only when it is complete. A run that
// fails (or forgets to commit) leaves no partial file and keeps an older file of that name.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/busy_retry.h"
#include "platform/file_handle.h"
#include "platform/hand_off.h"

namespace vask {

// Who may read a written file: whoever the system's defaults let (the usual case), or its
// owner alone (a secret such as a key). On POSIX systems an owner-only file is made with
// mode 0600 from its first moment as the temporary file, so its content is never readable
// by others; on Windows it takes the permissions of its folder, the user's own for the
// user's settings.
enum class FileAccess { usual, ownerOnly };

class AtomicFile {
public:
    // Creates the temporary file; raises Error (cannot create `target`) when it cannot.
    explicit AtomicFile(std::filesystem::path target, FileAccess access = FileAccess::usual);
    ~AtomicFile();  // removes the temporary file unless committed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(std::string_view bytes);  // buffered; raises Error (cannot write)
    // Flushes, closes and renames over the target; a target or new file that another
    // program holds for a moment is tried again (retryWhileBusy).
    void commit();
    // Commits under another name in the same folder, for outputs whose name is known only
    // at the end (a claims file is named by its billing month).
    void commit(const std::filesystem::path& target);

    const std::filesystem::path& target() const { return target_; }

private:
    void flushBuffer();
    void discard() noexcept;

    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::string buffer_;
    FileHandle handle_ = kNoFile;
    // A large file's full buffers are written on a thread of their own while the next
    // buffer is filled.
    std::unique_ptr<HandOff<std::string>> behind_;
    bool done_ = false;
};

// Whether a new file can be made in `folder` now: creates and removes a temporary file,
// as every output does, so permissions, read-only media and missing folders all count.
bool canCreateFilesIn(const std::filesystem::path& folder);

// Writes `bytes` as the whole content of `target`, atomically.
void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         FileAccess access = FileAccess::usual);

namespace detail {
// Operating-system side of AtomicFile (atomic_file_posix.cpp / atomic_file_win32.cpp).
FileHandle createTempFile(const std::filesystem::path& folder, std::filesystem::path& temp,
                          FileAccess access = FileAccess::usual);
bool writeAll(FileHandle handle, const char* data, size_t size);
bool flushAndClose(FileHandle handle);
void closeQuietly(FileHandle handle) noexcept;
FileTry replaceFile(const std::filesystem::path& temp, const std::filesystem::path& target);
}  // namespace detail

// Copies `source` over `target` through a temporary file, so that `target` is either the
// old file or the complete copy. Raises Error when the copy cannot be made.
void copyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace vask
