// The program's command-line arguments as UTF-16 texts (argument 0 first).
#pragma once

#include <string>
#include <vector>

namespace vask {

std::vector<std::u16string> commandLineArguments(int argc, char** argv);

}  // namespace vask
