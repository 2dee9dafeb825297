#include "platform/args.h"
#include "platform/utf.h"

namespace vask {

// Arguments arrive as bytes, UTF-8 as a rule; as many are paths, bytes that are no UTF-8
// are kept as toPath gives them back.
std::vector<std::u16string> commandLineArguments(int argc, char** argv) {
    std::vector<std::u16string> args;
    for (int i = 0; i < argc; ++i) args.push_back(utf8ToUtf16Escaped(argv[i]));
    return args;
}

}  // namespace vask
