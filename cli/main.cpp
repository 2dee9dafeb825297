// vask-cli: the file operations of the desktop program, without windows.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/messages.h"
#include "platform/args.h"
#include "platform/console.h"
#include "platform/errors.h"
#include "platform/utf.h"

namespace {

int usage(const std::string& reason) {
    if (!reason.empty()) vask::writeText(stderr, "vask-cli: " + reason + "\n\n");
    vask::writeText(stderr, vask::cli::usageText());
    return vask::cli::kExitUsage;
}

int fail(std::u16string_view message) {
    vask::writeText(stderr, vask::utf16ToUtf8(message) + "\n");
    return vask::cli::kExitRefused;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::u16string> args = vask::commandLineArguments(argc, argv);
    if (args.size() < 2) return usage("");
    const std::string name = vask::utf16ToUtf8(args[1]);
    if (name == "-h" || name == "--help" || name == "help") {
        vask::writeText(stdout, vask::cli::usageText());
        return vask::cli::kExitOk;
    }
    for (const auto& command : vask::cli::registeredCommands()) {
        if (command.name != name) continue;
        try {
            const auto parsed = vask::cli::parseArguments(command, {args.begin() + 2, args.end()});
            return vask::cli::report(command.run(parsed));
        } catch (const vask::cli::UsageError& e) {
            return usage(e.reason);
        } catch (const vask::Error& e) {
            return fail(vask::msg::errorBoxText(e.message()));
        } catch (const std::exception& e) {
            return fail(vask::msg::errorBoxText(vask::utf8ToUtf16(e.what())));
        }
    }
    return usage("unknown subcommand " + name);
}
