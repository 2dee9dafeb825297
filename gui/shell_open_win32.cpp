#include <windows.h>

// shellapi.h builds on the declarations of windows.h.
#include <shellapi.h>

#include "gui/shell_open.h"

namespace vask {

// The shell's own call, with the name as given: a file's Japanese name and blanks reach
// the shell whole, and an address opens in the user's browser. (Qt's QDesktopServices
// hands this to a COM thread of its own, which did not reach the shell under Wine.)
void openWithShell(const QString& document) {
    ShellExecuteW(nullptr, nullptr, reinterpret_cast<const wchar_t*>(document.utf16()), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

}  // namespace vask
