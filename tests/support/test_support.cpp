#include "test_support.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "platform/cp932.h"
#include "platform/paths.h"
#include "platform/utf.h"
#include "process.h"

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

// Windows refuses to delete a file that is still open, and a program that has just ended
// (vask-cli under Wine, or a virus scanner) may hold its files a moment longer: try again.
TempDir::~TempDir() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
        if (!ec) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::filesystem::path TempDir::operator/(std::string_view name) const { return path_ / toPath(utf8ToUtf16(name)); }

std::string utf8(const std::filesystem::path& path) { return utf16ToUtf8(fromPath(path)); }

void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + utf8(file));
}

std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + utf8(file));
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string sjis(std::u16string_view text) { return cp932::encode(text); }

std::u16string fromSjis(std::string_view bytes) { return cp932::decode(bytes); }

std::string utf16be(std::u16string_view text) {
    std::string bytes;
    for (const char16_t c : text) {
        bytes.push_back(static_cast<char>(c >> 8));
        bytes.push_back(static_cast<char>(c & 0xFF));
    }
    return bytes;
}

std::string sjisLines(const std::vector<std::u16string>& lines) {
    std::string bytes;
    for (const auto& line : lines) bytes += sjis(line) + "\r\n";
    return bytes;
}

std::string claimsBytes(const std::vector<std::u16string>& lines) { return sjisLines(lines) + "\x1A"; }

std::vector<std::u16string> linesOf(std::string_view bytes) {
    std::vector<std::u16string> lines;
    const std::u16string text = fromSjis(bytes);
    size_t start = 0;
    for (size_t at; (at = text.find(u"\r\n", start)) != std::u16string::npos; start = at + 2) {
        lines.push_back(text.substr(start, at - start));
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::vector<std::string> listFolder(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(utf8(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

std::filesystem::path cliProgram() {
    const std::filesystem::path cli = pathFromEnvironment("VASK_CLI");
    if (cli.empty()) throw std::runtime_error("VASK_CLI is not set");
    return std::filesystem::absolute(cli);
}

CliResult runCli(const std::vector<std::string>& args, const std::filesystem::path& workingFolder) {
    const std::filesystem::path program = cliProgram();  // absolute: the child may start elsewhere
    TempDir capture;
    CliResult result;
    result.status = runProgram(program, args, workingFolder, capture / "out", capture / "err");
    result.out = readBytes(capture / "out");
    result.err = readBytes(capture / "err");
    return result;
}

#ifndef _WIN32
namespace {

// The child's side of runCli: set up the process as the options say and become vask-cli.
[[noreturn]] void execCli(const char* cli, const std::vector<std::string>& args, const CliOptions& options,
                          const std::filesystem::path& outFile, const std::filesystem::path& errFile) {
    if (!options.workingFolder.empty() && chdir(options.workingFolder.c_str()) != 0) _exit(126);
    const auto& out = options.standardOutput.empty() ? outFile : options.standardOutput;
    if (!freopen(out.c_str(), "w", stdout) || !freopen(errFile.c_str(), "w", stderr)) _exit(126);
    if (options.fileSizeLimit >= 0) {
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
        const rlimit limit{static_cast<rlim_t>(options.fileSizeLimit), static_cast<rlim_t>(options.fileSizeLimit)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
    }
    alarm(options.timeoutSeconds);
    std::vector<char*> argv;
    for (const auto& word : options.launcher) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(const_cast<char*>(cli));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

}  // namespace

CliResult runCli(const std::vector<std::string>& args, const CliOptions& options) {
    const std::filesystem::path program = options.program.empty() ? cliProgram() : options.program;
    const char* cli = program.c_str();
    TempDir capture;
    const auto outFile = capture / "out";
    const auto errFile = capture / "err";
    writeBytes(outFile, "");
    const pid_t pid = fork();
    if (pid == 0) execCli(cli, args, options, outFile, errFile);
    int status = 0;
    waitpid(pid, &status, 0);
    CliResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.out = readBytes(outFile);
    result.err = readBytes(errFile);
    return result;
}
#endif  // _WIN32

}  // namespace vask::test
