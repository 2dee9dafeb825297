#include "platform/args.h"
#include "platform/utf.h"

namespace vask {

// Arguments arrive as UTF-8 bytes.
std::vector<std::u16string> commandLineArguments(int argc, char** argv) {
    std::vector<std::u16string> args;
    for (int i = 0; i < argc; ++i) args.push_back(utf8ToUtf16(argv[i]));
    return args;
}

}  // namespace vask
