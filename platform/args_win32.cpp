#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <shellapi.h>  // after windows.h, whose types and macros it uses

#include "platform/args.h"

namespace vask {

// argv holds the arguments in the ANSI code page; the UTF-16 command line holds them whole.
std::vector<std::u16string> commandLineArguments(int, char**) {
    std::vector<std::u16string> args;
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; words && i < count; ++i) {
        const std::wstring word(words[i]);
        args.emplace_back(word.begin(), word.end());
    }
    LocalFree(words);
    return args;
}

}  // namespace vask
