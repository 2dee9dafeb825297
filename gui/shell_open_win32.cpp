#include <windows.h>

// shellapi.h builds on the declarations of windows.h.
#include <shellapi.h>

#include "gui/shell_open.h"

namespace vask {

// The shell's own call, with the name as given: a file's Japanese name and blanks reach
// the shell whole, and an address opens in the user's browser. (Qt's QDesktopServices
// hands this to a COM thread of its own, which did not reach the shell under Wine.)
// The shell answers with a value above 32 when it started a program.
bool openWithShell(const QString& document) {
    constexpr INT_PTR kLastErrorCode = 32;
    const HINSTANCE answer = ShellExecuteW(nullptr, nullptr, reinterpret_cast<const wchar_t*>(document.utf16()),
                                           nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(answer) > kLastErrorCode;
}

}  // namespace vask
