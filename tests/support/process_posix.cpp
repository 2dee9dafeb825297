#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "process.h"

namespace vask::test {

std::filesystem::path pathFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::filesystem::path(value) : std::filesystem::path();
}

int runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& workingFolder, const std::filesystem::path& out,
               const std::filesystem::path& err) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (!workingFolder.empty() && chdir(workingFolder.c_str()) != 0) _exit(126);
        if (!freopen(out.c_str(), "w", stdout) || !freopen(err.c_str(), "w", stderr)) _exit(126);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) < 0) return 127;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace vask::test
