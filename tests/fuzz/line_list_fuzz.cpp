// The line-list loader (LoadLineList) on arbitrary file contents, and the streaming
// TextLineReader (with blocks small enough for breaks to straddle them, and as the readers
// of Shift-JIS text use it), which must hand out exactly the loader's lines and refuse what
// the loader refuses as no Shift-JIS text. No line holds CR or LF.
// Without a byte-order mark (code page 932), and with the UTF-8 mark, splitting the bytes
// into lines first and decoding each line gives the loader's lines: CR and LF are never
// part of a character in either encoding, and an incomplete character before a break
// decodes the same either way. A UTF-16 file has no such byte rule; there only the
// invariants are checked.
#include <cstddef>
#include <cstdint>

#include "core/textfile.h"
#include "fuzz_support.h"
#include "platform/cp932.h"
#include "platform/errors.h"
#include "platform/utf.h"

using namespace vask;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view content = fuzz::bytesOf(data, size);
    const std::filesystem::path file = fuzz::scratchFolder() / "list.txt";
    fuzz::writeFile(file, content);

    const std::vector<std::u16string> lines = LoadLineList(file);
    for (const auto& line : lines) {
        fuzz::require(line.find_first_of(u"\r\n") == std::u16string::npos, "no line holds a break");
    }

    size_t markLength = 0;
    const TextEncoding encoding = encodingFromBom(content, markLength);
    if (encoding == TextEncoding::Cp932 || encoding == TextEncoding::Utf8) {
        const auto byteLines = fuzz::splitByteLines(content.substr(markLength));
        fuzz::require(lines.size() == byteLines.size(), "as many lines as the bytes have");
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::u16string expected =
                encoding == TextEncoding::Cp932 ? cp932::decode(byteLines[i]) : utf8ToUtf16(byteLines[i]);
            fuzz::require(lines[i] == expected, "a line is its bytes decoded");
        }
    }
    if (encoding == TextEncoding::Cp932) {
        fuzz::require(loadLines(file, TextEncoding::Cp932) == lines, "loadLines reads a file without a mark alike");
    }

    TextLineReader reader(file, Cp932Input::AnyBytes, 5);
    std::vector<std::u16string> read;
    for (std::u16string line; reader.next(line);) read.push_back(line);
    fuzz::require(read == lines, "TextLineReader gives the loader's lines");

    // Read as Shift-JIS text when it has no mark (the replacement's data file, the form-1
    // file), it refuses what the line-list loader refuses and otherwise gives its lines.
    bool refused = false;
    try {
        LoadLineList(file, Cp932Input::ShiftJisText);
    } catch (const Error&) {
        refused = true;
    }
    fuzz::require(!refused || encoding == TextEncoding::Cp932, "only a file without a mark is refused");
    try {
        TextLineReader input(file, Cp932Input::ShiftJisText);
        std::vector<std::u16string> streamed;
        for (std::u16string line; input.next(line);) streamed.push_back(line);
        fuzz::require(!refused, "TextLineReader refuses what the loader refuses");
        fuzz::require(streamed == lines, "TextLineReader gives the loader's lines");
    } catch (const Error&) {
        fuzz::require(refused, "TextLineReader refuses nothing else");
    }
    return 0;
}
