#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <random>

#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace vask::detail {

// The file takes the permissions of its folder whatever `access` says (see FileAccess).
FileHandle createTempFile(const std::filesystem::path& folder, std::filesystem::path& temp, FileAccess) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        wchar_t name[40];
        std::swprintf(name, 40, L"~vask-%016llx.tmp", static_cast<unsigned long long>(random()));
        temp = folder / name;
        HANDLE h = CreateFileW(systemPath(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (h != INVALID_HANDLE_VALUE) return reinterpret_cast<FileHandle>(h);
        if (GetLastError() != ERROR_FILE_EXISTS) break;
    }
    temp.clear();
    return kNoFile;
}

bool writeAll(FileHandle handle, const char* data, size_t size) {
    while (size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(reinterpret_cast<HANDLE>(handle), data, chunk, &written, nullptr)) return false;
        data += written;
        size -= written;
    }
    return true;
}

bool flushAndClose(FileHandle handle) {
    HANDLE h = reinterpret_cast<HANDLE>(handle);
    const bool flushed = FlushFileBuffers(h) != 0;
    const bool closed = CloseHandle(h) != 0;
    return flushed && closed;
}

void closeQuietly(FileHandle handle) noexcept { CloseHandle(reinterpret_cast<HANDLE>(handle)); }

// The temporary file is hidden while it is written. The attribute goes before the rename:
// a failure is then an ordinary write error, and the target is never replaced by a hidden
// file that the user cannot see. A folder in the target's place fails at once; every other
// "access denied" may be a program that holds the target or the new file for a moment.
FileTry replaceFile(const std::filesystem::path& temp, const std::filesystem::path& target) {
    if (folderExists(target)) return FileTry::failed;
    const std::filesystem::path from = systemPath(temp);
    if (!SetFileAttributesW(from.c_str(), FILE_ATTRIBUTE_NORMAL)) return tryAfterLastError();
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    return MoveFileExW(from.c_str(), systemPath(target).c_str(), flags) ? FileTry::done : tryAfterLastError();
}

}  // namespace vask::detail
