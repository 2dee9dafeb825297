#include "fuzz_support.h"

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/errors.h"
#include "platform/utf.h"

namespace vask::fuzz {

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "broken property: %s\n", what);
    std::abort();
}

std::u16string textOf(std::string_view bytes) { return utf8ToUtf16(bytes); }

std::u16string unitsOf(std::string_view bytes) {
    std::u16string units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return units;
}

std::vector<std::string_view> splitParts(std::string_view input, size_t count) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const size_t at = input.find(kPartSeparator);
        if (at == std::string_view::npos) break;
        parts.push_back(input.substr(0, at));
        input.remove_prefix(at + kPartSeparator.size());
    }
    parts.push_back(input);
    parts.resize(count);
    return parts;
}

namespace {

void removeScratch() {
    std::error_code ec;
    std::filesystem::remove_all(scratchFolder(), ec);
}

}  // namespace

const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path folder = [] {
        const char* base = std::getenv("VASK_FUZZ_SCRATCH");
        std::filesystem::path path =
            std::filesystem::path(base && *base ? base : "/dev/shm") / ("vask-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::atexit(removeScratch);
        return path;
    }();
    return folder;
}

std::filesystem::path emptyFolder(std::string_view name) {
    const std::filesystem::path folder = scratchFolder() / name;
    std::error_code ec;
    if (!std::filesystem::create_directory(folder, ec)) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) std::filesystem::remove_all(entry.path());
    }
    return folder;
}

size_t entryCount(const std::filesystem::path& folder) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    require(out.good(), "the scratch file could be written");
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    require(!in.bad(), "a file could be read");
    return bytes;
}

std::vector<std::string> writtenLines(std::string_view bytes) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < bytes.size();) {
        const size_t end = bytes.find("\r\n", at);
        require(end != std::string_view::npos, "every written line ends with CR LF");
        require(bytes.find_first_of("\r\n", at) == end, "a written line holds no break");
        lines.emplace_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::vector<std::string> splitByteLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            current.push_back(c);
            continue;
        }
        lines.push_back(current);
        current.clear();
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

bool refusedAsNoShiftJis(const std::function<void()>& step, const std::vector<std::string_view>& contents) {
    try {
        step();
        return false;
    } catch (const vask::Error& e) {
        if (e.message().find(u"はShift-JISのテキストではありません（") == std::u16string::npos) throw;
        // ASCII text without a NUL byte is Shift-JIS text whatever else holds.
        bool mayOffend = false;
        for (const std::string_view bytes : contents) {
            mayOffend = mayOffend || std::any_of(bytes.begin(), bytes.end(), [](char c) {
                            return c == '\0' || static_cast<unsigned char>(c) >= 0x80;
                        });
        }
        require(mayOffend, "a file of ASCII text without a NUL byte is never refused as no Shift-JIS text");
        return true;
    }
}

}  // namespace vask::fuzz
