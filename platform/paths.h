// The file edge: UTF-16 text <-> filesystem paths, the program folder, plain file access.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/file_handle.h"

namespace vask {

std::filesystem::path toPath(std::u16string_view text);
std::u16string fromPath(const std::filesystem::path& path);

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

}  // namespace vask
