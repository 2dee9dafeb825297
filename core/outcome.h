// What a file operation reports back to its caller (a window or the command line):
// either a refusal, a warning shown to the user with nothing written, or the files it
// wrote with the result message. Real failures are Errors (exceptions), not outcomes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vask {

class Outcome {
public:
    static Outcome refused(std::u16string_view warning) {
        Outcome o;
        o.refused_ = true;
        o.message_ = warning;
        return o;
    }
    static Outcome wrote(std::vector<std::filesystem::path> files, std::u16string message = {}) {
        Outcome o;
        o.files_ = std::move(files);
        o.message_ = std::move(message);
        return o;
    }

    bool isRefusal() const { return refused_; }
    // The warning of a refusal, or the result message of a run that wrote files.
    const std::u16string& message() const { return message_; }
    // Full paths of the files written, in the order they were written.
    const std::vector<std::filesystem::path>& files() const { return files_; }
    // Warnings about a run that wrote files (characters written as "?", a file not made),
    // one line each, in the order they arose: the command line prints them on standard
    // error, the result window shows them below the message.
    const std::vector<std::u16string>& warnings() const { return warnings_; }
    void addWarning(std::u16string warning) { warnings_.push_back(std::move(warning)); }

private:
    Outcome() = default;
    bool refused_ = false;
    std::u16string message_;
    std::vector<std::filesystem::path> files_;
    std::vector<std::u16string> warnings_;
};

}  // namespace vask
