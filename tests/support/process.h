// Starting a program from a test and waiting for it, per system (process_posix.cpp,
// process_win32.cpp).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vask::test {

// The path in an environment variable, whatever its characters; empty when it is not set.
std::filesystem::path pathFromEnvironment(const char* name);

// Runs `program` with `args` (UTF-8) in `workingFolder` (the current folder when empty),
// its standard output and standard error going to the files `out` and `err`. Returns the
// exit status, -1 when the program did not end by itself, 127 when it could not start.
int runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& workingFolder, const std::filesystem::path& out,
               const std::filesystem::path& err);

}  // namespace vask::test
