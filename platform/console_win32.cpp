#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/console.h"
#include "platform/utf.h"

namespace vask {

// A console shows UTF-16 text as it is; anything else gets the bytes untouched, in binary
// mode, so that the C runtime turns no "\n" into "\r\n".
void writeText(std::FILE* stream, std::string_view utf8) {
    const int fd = _fileno(stream);
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        const std::u16string text = utf8ToUtf16(utf8);
        DWORD written = 0;
        WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    _setmode(fd, _O_BINARY);
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

}  // namespace vask
