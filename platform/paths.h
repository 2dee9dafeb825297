// The file edge: UTF-16 text <-> filesystem paths, the program folder, plain file access.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/busy_retry.h"
#include "platform/file_handle.h"

namespace vask {

std::filesystem::path toPath(std::u16string_view text);
std::u16string fromPath(const std::filesystem::path& path);

// The spelling of `path` that the system's file functions take. On Windows, a path too long
// for the plain form (a deep folder, such as a synchronised folder with long Japanese
// names) becomes its full extended-length form, which no 260-character limit applies to;
// elsewhere it is `path` itself. Only for the calls of the file edge: messages and
// printed paths name a file as it was given.
std::filesystem::path systemPath(const std::filesystem::path& path);
// The extended-length form of a full Windows path ("C:\..." or "\\server\share\...", with
// backslashes and without "." or ".." parts) when it is too long for the plain form:
// "\\?\C:\..." or "\\?\UNC\server\share\..."; any other text as it is. systemPath makes a
// path full and applies this.
std::u16string extendedLengthForm(std::u16string_view fullPath);

// Folder that holds the running executable.
std::filesystem::path executableFolder();

// True when `path` names an existing regular file (an empty path names none).
bool fileExists(const std::filesystem::path& path);
bool folderExists(const std::filesystem::path& path);
// The key under which the file system tells file names apart: on Windows the name without
// its trailing dots and blanks, in upper case; elsewhere the name itself.
std::u16string fileNameKey(std::u16string_view name);

// True when both paths name one existing file (whatever the spelling or links).
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// The whole content of a file; raises Error (cannot open) when it cannot be read.
std::string readAllBytes(const std::filesystem::path& path);
// The first `size` bytes of a file, fewer when it is shorter (to tell a byte-order mark or
// the kind of a file); raises Error (cannot open) when it cannot be read.
std::string readPrefix(const std::filesystem::path& path, size_t size);

// Deletes a file when it exists; raises Error when it exists and cannot be deleted.
void removeFileIfExists(const std::filesystem::path& path);
// Deletes a file; false when it cannot (or there is none). A file that another program
// holds open for a moment is tried again (retryWhileBusy).
bool deleteFile(const std::filesystem::path& path);
// Renames a file within its volume, replacing a file `to`; false when it cannot.
bool renameFile(const std::filesystem::path& from, const std::filesystem::path& to);
// Creates a folder (one level, or every missing level); true when it exists afterwards.
bool createFolder(const std::filesystem::path& folder);
bool createFolders(const std::filesystem::path& folder);

// Streams the bytes of a file in blocks.
class InputFile {
public:
    // Opens a regular file; raises Error (cannot open) for anything else (a folder, a
    // FIFO, a device) and for a file that cannot be opened.
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to `size` bytes; 0 at the end of the file. Raises Error on a read failure.
    size_t read(char* buffer, size_t size);
    // Reads `size` bytes, fewer only at the end of the file; returns how many.
    size_t readFully(char* buffer, size_t size);
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    FileHandle handle_ = kNoFile;
};

namespace detail {
// One try of deleteFile (paths_posix.cpp / paths_win32.cpp).
FileTry tryDeleteFile(const std::filesystem::path& path);
#ifdef _WIN32
// How a Win32 file call that has just failed ended, by the thread's last error: busy for a
// sharing or lock violation and for "access denied" (what a file that another program
// holds open, or one that is being deleted, gives), failed for any other error.
FileTry tryAfterLastError();
#endif
}  // namespace detail

}  // namespace vask
