// Helpers shared by the tests: temporary folders, file bytes, code page 932 text, and
// running vask-cli.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vask::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // `name` is UTF-8, as every name written in the tests is.
    std::filesystem::path operator/(std::string_view name) const;

private:
    std::filesystem::path path_;
};

// A path as UTF-8 text, the way vask-cli takes and prints paths on every system.
std::string utf8(const std::filesystem::path& path);

void writeBytes(const std::filesystem::path& file, std::string_view bytes);
std::string readBytes(const std::filesystem::path& file);
// Code page 932 bytes of a text, and the text of such bytes.
std::string sjis(std::u16string_view text);
std::u16string fromSjis(std::string_view bytes);
// UTF-16 big-endian bytes of a text, without a byte-order mark (the program reads them but
// never writes them).
std::string utf16be(std::u16string_view text);
// Lines to code page 932 bytes, every line followed by CR LF: a text file as the tools
// write it.
std::string sjisLines(const std::vector<std::u16string>& lines);
// The bytes of a claims file: the lines as sjisLines gives them, then 0x1A.
std::string claimsBytes(const std::vector<std::u16string>& lines);
// The lines of code page 932 bytes split at CR LF (the last break gives no extra line).
std::vector<std::u16string> linesOf(std::string_view bytes);
// Puts the whole process under a locale whose decimal separator is a comma (de_DE), as a
// desktop program takes it from its environment; false when no such locale can be made.
// useCLocale goes back to the C locale.
bool useCommaDecimalLocale();
void useCLocale();

// The names of the files in a folder, sorted.
std::vector<std::string> listFolder(const std::filesystem::path& folder);

struct CliResult {
    int status = -1;  // the exit status, -1 when the run ended by a signal
    int signal = 0;   // the signal that ended the run, 0 when it exited
    std::string out;  // standard output, UTF-8
    std::string err;  // standard error, UTF-8
};
// The vask-cli under test, named by the environment variable VASK_CLI, made absolute (on
// Windows this also gives a drive to a path that CTest passed from the build host).
std::filesystem::path cliProgram();

// How vask-cli is run.
struct CliOptions {
    std::filesystem::path program;        // the vask-cli to run (empty: cliProgram())
    std::filesystem::path workingFolder;  // empty: the test's own
    // A command that runs vask-cli, such as setpriv with another user (empty: none).
    std::vector<std::string> launcher;
    // A file that receives standard output instead of the capture (e.g. /dev/full).
    std::filesystem::path standardOutput;
    // The largest file the run may write (RLIMIT_FSIZE, bytes; SIGXFSZ ignored), -1: no limit.
    long long fileSizeLimit = -1;
    // The run is ended by SIGALRM after this many seconds, so that a hang fails the test.
    unsigned timeoutSeconds = 120;
};

// Runs vask-cli with `args`; the form with options exists on POSIX systems only.
CliResult runCli(const std::vector<std::string>& args, const std::filesystem::path& workingFolder = {});
#ifndef _WIN32
CliResult runCli(const std::vector<std::string>& args, const CliOptions& options);
#endif

}  // namespace vask::test
