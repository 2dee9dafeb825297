#include "cli/cli.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "core/messages.h"
#include "platform/console.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::cli {
namespace {

std::vector<Command>& registry() {
    static std::vector<Command> commands;
    return commands;
}

void writeLine(std::FILE* stream, std::u16string_view text) { writeText(stream, utf16ToUtf8(text) + "\n"); }

// What was printed on standard output is what a caller reads of the run (the written
// paths, a report): losing it (a full disk, a closed file) must not pass as success.
int statusAfterPrinting(int status) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        writeLine(stderr, msg::errorBoxText(msg::kCannotWriteStdout));
        return kExitRefused;
    }
    return status;
}

}  // namespace

CommandRegistration::CommandRegistration(Command command) {
    auto& commands = registry();
    commands.push_back(std::move(command));
    std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) { return a.order < b.order; });
}

const std::vector<Command>& registeredCommands() { return registry(); }

std::optional<std::u16string> Arguments::option(const std::string& name) const {
    const auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

std::filesystem::path Arguments::outputFolder() const {
    const auto folder = option("-o");
    return folder ? toPath(*folder) : std::filesystem::path(".");
}

Arguments parseArguments(const Command& command, const std::vector<std::u16string>& args) {
    Arguments parsed;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string word = utf16ToUtf8(args[i]);
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && word.size() > 1 && word[0] == '-') {
            const auto& known = command.valueOptions;
            if (std::find(known.begin(), known.end(), word) == known.end()) {
                throw UsageError{"unknown option " + word};
            }
            if (i + 1 >= args.size()) throw UsageError{"option " + word + " needs a value"};
            if (parsed.options.count(word) != 0) throw UsageError{"option " + word + " given twice"};
            parsed.options[word] = args[++i];
            continue;
        }
        parsed.positional.push_back(args[i]);
    }
    if (parsed.positional.size() != command.positionalCount) {
        throw UsageError{command.name + " takes " + std::to_string(command.positionalCount) + " argument(s)"};
    }
    return parsed;
}

int report(const Outcome& outcome) {
    if (outcome.isRefusal()) {
        writeLine(stderr, outcome.message());
        return kExitRefused;
    }
    // A path is printed as its bytes in UTF-8 (on POSIX: as they are, UTF-8 or not), so
    // that the printed line names the file.
    for (const auto& file : outcome.files()) {
        std::error_code ec;
        const std::filesystem::path full = std::filesystem::absolute(file, ec);
        const std::u8string bytes = (ec ? file : full.lexically_normal()).u8string() + u8"\n";
        writeText(stdout, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    // Warnings go to standard error: the printed paths stay the run's only output.
    for (const auto& warning : outcome.warnings()) writeLine(stderr, warning);
    return statusAfterPrinting(kExitOk);
}

int report(const Verdict& verdict) {
    for (const auto& line : verdict.lines) writeLine(stdout, line);
    return statusAfterPrinting(verdict.passed ? kExitOk : kExitFound);
}

int report(const CommandResult& result) {
    return std::visit([](const auto& r) { return report(r); }, result);
}

std::filesystem::path programFolder() { return executableFolder(); }

std::string usageText() {
    std::string text = "usage: vask-cli SUBCOMMAND ...\n\nsubcommands:\n";
    for (const auto& command : registeredCommands()) text += "  vask-cli " + command.synopsis + "\n";
    text +=
        "\nOUTDIR (-o OUTDIR, default the current folder) receives the outputs. On success the full\n"
        "path of every written file is printed, one per line (exit status 0); a refusal or an error\n"
        "prints its message on standard error (exit status 1); wrong usage exits with status 2.\n"
        "check-anonymized prints its report and exits with status 0 when no identifying value of\n"
        "the original is left, every record count matches and every record of the original is one\n"
        "the check knows; 3 when not; 1 when it cannot check (the original holds no record it\n"
        "knows). --kind names the original's kind; without it, a file with any IR, RE, HO, KO or SN\n"
        "record is a claims file, any other a form-1 file.\n"
        "--profile pseudonym (anonymize, blank-names, check-anonymized) anonymises by the\n"
        "pseudonymisation profile, or checks a file made by it: chart numbers become keyed\n"
        "pseudonyms. Its key is the user's own pseudonym key, made on first use, or the key file\n"
        "given by --key FILE (a missing file or one without a key: status 1, nothing written).\n"
        "check-claims prints its report and exits with status 0 when the file fits the record\n"
        "layout, 3 when it found something, 1 when it cannot check.\n";
    return text;
}

}  // namespace vask::cli
