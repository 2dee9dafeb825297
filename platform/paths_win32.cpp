// Win32 side of the file edge: paths are UTF-16, as the text of the program is.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

#include "platform/errors.h"
#include "platform/paths.h"

namespace vask {

std::filesystem::path toPath(std::u16string_view text) {
    return std::filesystem::path(std::wstring(text.begin(), text.end()));
}

std::u16string fromPath(const std::filesystem::path& path) {
    const std::wstring& native = path.native();
    return std::u16string(native.begin(), native.end());
}

// Windows drops trailing dots and blanks from a name and compares names without regard
// to letter case.
std::u16string fileNameKey(std::u16string_view name) {
    std::wstring key(name.begin(), name.end());
    while (!key.empty() && (key.back() == L'.' || key.back() == L' ')) key.pop_back();
    if (!key.empty()) CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    return std::u16string(key.begin(), key.end());
}

// The extended-length form takes a full path, which the system then uses as it is:
// GetFullPathNameW puts in the current folder, turns every "/" into a backslash and
// resolves "." and "..". A path short enough stays as it was given.
std::filesystem::path systemPath(const std::filesystem::path& path) {
    const std::wstring& given = path.native();
    if (given.empty()) return path;
    std::wstring full(given.size() + MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0) return path;
        if (n < full.size()) {
            full.resize(n);
            break;
        }
        full.resize(n);
    }
    const std::u16string extended = extendedLengthForm(std::u16string(full.begin(), full.end()));
    if (extended.size() == full.size()) return path;
    return std::filesystem::path(std::wstring(extended.begin(), extended.end()));
}

namespace {

DWORD attributesOf(const std::filesystem::path& path) {
    return path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(systemPath(path).c_str());
}

// An open handle for the identity of a file or folder (no access to its content asked, so
// another program's share mode does not matter), closed with the object.
class IdentityHandle {
public:
    explicit IdentityHandle(const std::filesystem::path& path)
        : handle_(CreateFileW(systemPath(path).c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}
    ~IdentityHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    IdentityHandle(const IdentityHandle&) = delete;
    IdentityHandle& operator=(const IdentityHandle&) = delete;
    bool read(BY_HANDLE_FILE_INFORMATION& info) const {
        return handle_ != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle_, &info);
    }

private:
    HANDLE handle_;
};

}  // namespace

// The C runtime's stat, which std::filesystem calls under MinGW, takes no extended-length
// path (it refuses the "?" in it) and, in older runtimes, no path over 260 characters: the
// file edge asks Windows itself.
bool fileExists(const std::filesystem::path& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

bool folderExists(const std::filesystem::path& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    if (!IdentityHandle(a).read(first) || !IdentityHandle(b).read(second)) return false;
    return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

FileTry detail::tryAfterLastError() {
    switch (GetLastError()) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_ACCESS_DENIED:
            return FileTry::busy;
        default:
            return FileTry::failed;
    }
}

FileTry detail::tryDeleteFile(const std::filesystem::path& path) {
    return DeleteFileW(systemPath(path).c_str()) ? FileTry::done : tryAfterLastError();
}

// Within the volume only: Windows would copy across volumes without saying so, leaving a
// partial target when the copy fails, where the callers copy through a temporary file.
bool renameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    return MoveFileExW(systemPath(from).c_str(), systemPath(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool createFolder(const std::filesystem::path& folder) {
    return CreateDirectoryW(systemPath(folder).c_str(), nullptr) || folderExists(folder);
}

std::filesystem::path executableFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::filesystem::current_path();
        if (n < buffer.size()) return std::filesystem::path(std::wstring(buffer.data(), n)).parent_path();
        buffer.resize(buffer.size() * 2);
    }
}

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
    HANDLE h = INVALID_HANDLE_VALUE;
    if (!path.empty()) {
        h = CreateFileW(systemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    }
    // Only a file on disk: a device name (CON, NUL) or a pipe would block or never end.
    if (h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        h = INVALID_HANDLE_VALUE;
    }
    if (h == INVALID_HANDLE_VALUE) throw Error(msg::cannotOpen(path));
    handle_ = reinterpret_cast<FileHandle>(h);
}

InputFile::~InputFile() { CloseHandle(reinterpret_cast<HANDLE>(handle_)); }

size_t InputFile::read(char* buffer, size_t size) {
    DWORD got = 0;
    const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, want, &got, nullptr)) throw Error(msg::cannotOpen(path_));
    return got;
}

}  // namespace vask
