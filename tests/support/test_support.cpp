#include "test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/cp932.h"

namespace vask::test {

TempDir::TempDir() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        path_ = base / ("vask-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(path_)) break;
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string sjis(std::u16string_view text) { return cp932::encode(text); }

std::u16string fromSjis(std::string_view bytes) { return cp932::decode(bytes); }

std::vector<std::string> listFolder(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

CliResult runCli(const std::vector<std::string>& args, const std::filesystem::path& workingFolder) {
    const char* cli = std::getenv("VASK_CLI");
    if (!cli) throw std::runtime_error("VASK_CLI is not set");
    TempDir capture;
    const auto outFile = capture / "out";
    const auto errFile = capture / "err";
    const pid_t pid = fork();
    if (pid == 0) {
        if (!workingFolder.empty() && chdir(workingFolder.c_str()) != 0) _exit(126);
        if (!freopen(outFile.c_str(), "w", stdout) || !freopen(errFile.c_str(), "w", stderr)) _exit(126);
        std::vector<char*> argv{const_cast<char*>(cli)};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(cli, argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    CliResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readBytes(outFile);
    result.err = readBytes(errFile);
    return result;
}

}  // namespace vask::test
