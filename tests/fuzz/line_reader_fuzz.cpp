// The streaming line reader (LineBytesReader, Cp932LineReader) under both line rules,
// against a reference reading of the whole file:
//   AnyBreak: CR LF, LF or a lone CR end a line; a file ending with a break has no extra
//             empty line; 0x1A is an ordinary byte.
//   TextFile: the file ends at its first 0x1A; CR or LF end a line, and after a CR the rest
//             of the physical line through the next LF is skipped.
// Each file is read with the reader's own block size and with a block of 4 to 67 bytes
// (bits 2 to 7 of byte 0 of the input), so that breaks, CR LF pairs and 0x1A fall on block
// boundaries. Bit 1 of byte 0 has the reader skip a UTF-8 byte-order mark first.
// Cp932LineReader gives the code page 932 decoding of each byte line. With
// refuseNonShiftJis() the byte lines are the same when the file is Shift-JIS text, and
// otherwise the reading ends in the refusal naming the line that the byte-by-byte scan of
// the whole file (firstOffendingLine) finds.
#include <cstddef>
#include <cstdint>

#include "core/textfile.h"
#include "fuzz_support.h"
#include "platform/cp932.h"
#include "platform/errors.h"

using namespace vask;

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::vector<std::string> textFileLines(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\x1A'));
    std::vector<std::string> lines;
    for (size_t i = 0; i < bytes.size();) {
        const size_t k = bytes.find_first_of("\r\n", i);
        if (k == std::string_view::npos) {
            lines.emplace_back(bytes.substr(i));
            break;
        }
        lines.emplace_back(bytes.substr(i, k - i));
        if (bytes[k] == '\n') {
            i = k + 1;
            continue;
        }
        const size_t lineFeed = bytes.find('\n', k + 1);
        if (lineFeed == std::string_view::npos) break;
        i = lineFeed + 1;
    }
    return lines;
}

std::vector<std::string> expectedLines(std::string_view content, LineRule rule, bool skipMark) {
    if (skipMark && content.substr(0, kUtf8Mark.size()) == kUtf8Mark) content.remove_prefix(kUtf8Mark.size());
    return rule == LineRule::TextFile ? textFileLines(content) : fuzz::splitByteLines(content);
}

std::vector<std::string> readByteLines(const std::filesystem::path& file, LineRule rule, bool skipMark,
                                       size_t blockSize) {
    LineBytesReader reader(file, rule, blockSize);
    if (skipMark) reader.skipLeading(kUtf8Mark);
    std::vector<std::string> lines;
    for (std::string_view line; reader.next(line);) lines.emplace_back(line);
    fuzz::require(
        ![&] {
            std::string_view line;
            return reader.next(line);
        }(),
        "a finished reader stays finished");
    return lines;
}

// The byte lines as a reader that refuses what is no Shift-JIS text gives them, or its refusal.
std::vector<std::string> readRefusingLines(const std::filesystem::path& file, LineRule rule, size_t blockSize,
                                           std::u16string& refusal) {
    LineBytesReader reader(file, rule, blockSize);
    reader.refuseNonShiftJis();
    std::vector<std::string> lines;
    try {
        for (std::string_view line; reader.next(line);) lines.emplace_back(line);
    } catch (const Error& e) {
        refusal = e.message();
    }
    return lines;
}

std::vector<std::u16string> readTextLines(const std::filesystem::path& file, LineRule rule) {
    Cp932LineReader reader(file, rule);
    std::vector<std::u16string> lines;
    for (std::u16string line; reader.next(line);) lines.push_back(line);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const unsigned options = data[0];
    const std::string_view content = fuzz::bytesOf(data + 1, size - 1);
    const bool skipMark = (options & 2u) != 0;
    const size_t smallBlock = 4 + (options >> 2);
    const std::filesystem::path file = fuzz::scratchFolder() / "lines.txt";
    fuzz::writeFile(file, content);

    for (const LineRule rule : {LineRule::AnyBreak, LineRule::TextFile}) {
        const auto expected = expectedLines(content, rule, skipMark);
        for (const size_t block : {kLineReadBlock, smallBlock}) {
            fuzz::require(readByteLines(file, rule, skipMark, block) == expected,
                          "the byte lines are the reference lines");
        }
        if (skipMark) continue;
        const size_t offending = firstOffendingLine(content, rule);
        for (const size_t block : {kLineReadBlock, smallBlock}) {
            std::u16string refusal;
            const auto lines = readRefusingLines(file, rule, block, refusal);
            if (offending == 0) {
                fuzz::require(refusal.empty() && lines == expected, "Shift-JIS text is read as it is");
            } else {
                fuzz::require(refusal == msg::notShiftJisText(file, offending), "the refusal names the offending line");
            }
        }
        const auto decoded = readTextLines(file, rule);
        fuzz::require(decoded.size() == expected.size(), "as many decoded lines as byte lines");
        for (size_t i = 0; i < decoded.size(); ++i) {
            fuzz::require(decoded[i] == cp932::decode(expected[i]), "a decoded line is its bytes decoded");
        }
    }
    return 0;
}
