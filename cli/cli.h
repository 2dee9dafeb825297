// The command-line twin of the desktop program: runs the file operations without windows.
//
// Each subcommand lives in its own file and registers itself with a CommandRegistration.
// OUTDIR (-o OUTDIR, default the current folder) plays the role of the program folder.
// Success: exit status 0 and the full path of every written file on standard output, one
// per line. A refusal or an error: the message a window would show on standard error,
// exit status 1, nothing written. Wrong usage: the usage text, exit status 2. A check
// (check-anonymized) prints its report on standard output and exits with 0 when it passed,
// 3 when it found a fault or met records it does not know.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/outcome.h"

namespace vask::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitFound = 3;

// What a check prints: its report, one text per line, and whether it passed.
struct Verdict {
    std::vector<std::u16string> lines;
    bool passed = false;
};

// What a subcommand returns: the outcome of a file operation, or the verdict of a check.
using CommandResult = std::variant<Outcome, Verdict>;

// The arguments after the subcommand name: positional ones and options with a value.
struct Arguments {
    std::vector<std::u16string> positional;
    std::map<std::string, std::u16string> options;

    std::optional<std::u16string> option(const std::string& name) const;
    // OUTDIR of -o, or the current folder.
    std::filesystem::path outputFolder() const;
};

// Thrown for wrong usage of a subcommand; main prints the usage text and exits with 2.
struct UsageError {
    std::string reason;
};

struct Command {
    int order;  // place in the usage text
    std::string name;
    std::string synopsis;                   // e.g. "anonymize CLAIMS [-o OUTDIR]"
    std::vector<std::string> valueOptions;  // options that take a value, e.g. "-o", "--mode"
    size_t positionalCount;                 // exact number of positional arguments
    std::function<CommandResult(const Arguments&)> run;
};

class CommandRegistration {
public:
    explicit CommandRegistration(Command command);
};

const std::vector<Command>& registeredCommands();

// Splits `args` by the command's options; raises UsageError.
Arguments parseArguments(const Command& command, const std::vector<std::u16string>& args);

// Prints the outcome as the contract says and returns the exit status: 1 also when the
// paths of written files cannot be printed (the files stay written).
int report(const Outcome& outcome);
// Prints the report lines on standard output: 0 when the check passed, 3 when it did not
// (1 when the report cannot be printed).
int report(const Verdict& verdict);
int report(const CommandResult& result);

// The folder that holds vask-cli (for data shipped beside it, such as siyo4.csv).
std::filesystem::path programFolder();

std::string usageText();

}  // namespace vask::cli
