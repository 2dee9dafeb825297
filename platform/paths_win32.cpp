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
        h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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
