// A file read as bytes gives the lines and refusals of the same file read as text,
// wherever the read blocks happen to end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/test_support.h"
#include "core/textfile.h"
#include "platform/errors.h"
#include "platform/utf.h"

namespace vask {
namespace {

using Lines = std::vector<std::u16string>;

// The lines as the reader gives them with a read block of `block` bytes, as bytes decoded
// where it gives bytes; or the message of its refusal.
std::u16string readAll(const std::filesystem::path& file, size_t block, Lines& lines) {
    try {
        TextLineReader reader(file, Cp932Input::ShiftJisText, block);
        if (reader.bytewise()) {
            for (std::string_view bytes; reader.next(bytes);) {
                lines.emplace_back();
                reader.decodeAppend(bytes, lines.back());
            }
        } else {
            for (std::u16string line; reader.next(line);) lines.push_back(line);
        }
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

std::u16string readAllAsText(const std::filesystem::path& file, Lines& lines) {
    try {
        TextLineReader reader(file, Cp932Input::ShiftJisText);
        for (std::u16string line; reader.next(line);) lines.push_back(line);
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

TEST(TextLineReader, GivesTheSameLinesAndRefusalsAsBytesAndAsTextAtEveryBlockSize) {
    const std::string crossing = std::string(9, 'a') + "\r\n" + std::string(20, 'b') + "\r" + std::string(3, 'c');
    const std::string files[] = {
        "",
        "a",
        "h\r\n\r\n\n",
        "\r\r\n\n",
        crossing,
        crossing + "\n\xEF\xBB\xBF",
        test::sjis(u"カルテ番号\t患者氏名\r\n1001\t山田　太郎\t\t202404\r\n"),
        "\xEF\xBB\xBF" + utf16ToUtf8(u"あ\r\nb\rc\n\r\n"),
        "\xEF\xBB\xBF\xE3\x81\r\n\xE3\x81\x82\xE3",
        "\xFF\xFE" + utf16ToUtf16le(u"1\t山\r\nx"),
        "\xFE\xFF" + test::utf16be(u"a\rb"),
        "\xEF\xBB",
        // Refused: a NUL after several blocks, UTF-8 without its mark, a lead byte at the end.
        crossing + std::string(1, '\0'),
        std::string("a\0", 2),
        "a\r\n\xE3\x81\x82\xE3\x82\xAB",
        "\x82\xA0\r\r\x81",
    };
    test::TempDir dir;
    for (const auto& bytes : files) {
        test::writeBytes(dir / "f", bytes);
        Lines expected;
        const std::u16string refusal = readAllAsText(dir / "f", expected);
        for (const size_t block : {size_t{4}, size_t{5}, size_t{7}, size_t{16}, kLineReadBlock}) {
            Lines lines;
            EXPECT_EQ(readAll(dir / "f", block, lines), refusal) << "block " << block << ": " << bytes;
            if (refusal.empty()) {
                EXPECT_EQ(lines, expected) << "block " << block << ": " << bytes;
            }
        }
    }
}

// Streamed, the lines of the line-list loader, refused where it refuses: the breaks at the
// end of the first block read, in bytes and in UTF-16 units, too.
TEST(TextLineReader, GivesTheLinesOfTheLineListLoaderAndItsRefusals) {
    const std::string cases[] = {
        "",
        "a\rb\nc\r\n\r\nd\r",
        "x\x1Ay\r\n\x1A",
        "\x81\r\n\x82\xA0\n\x81",  // refused: a lead byte before a break and one at the end
        "a\r\n\xE3\x82\xAB",       // refused: UTF-8 without its mark
        "\xEF\xBB\xBF"
        "a\r\n\xE3\x81\x82\rb",
        std::string("\xFF\xFE"
                    "a\0\r\0\n\0b\0",
                    10),
        std::string("\xFE\xFF\0a\0\n\0", 7),  // odd last byte
        "\xEF\xBB",                           // too short to be a mark
        std::string(300000, 'x') + "\r" + std::string(300000, 'y'),
        // CR LF on both sides of the end of the first block read, in bytes and in units
        std::string(kLineReadBlock - 1, 'x') + "\r\nz",
        "\xFF\xFE" + utf16ToUtf16le(std::u16string(kLineReadBlock / 2 - 1, u'x') + u"\r\nz"),
    };
    test::TempDir dir;
    for (const auto& bytes : cases) {
        test::writeBytes(dir / "in", bytes);
        const auto streamed = [&] {
            TextLineReader lines(dir / "in", Cp932Input::ShiftJisText);
            std::vector<std::u16string> all;
            for (std::u16string line; lines.next(line);) all.push_back(line);
            return all;
        };
        try {
            const std::vector<std::u16string> loaded = LoadLineList(dir / "in", Cp932Input::ShiftJisText);
            EXPECT_EQ(streamed(), loaded) << bytes.substr(0, 40);
        } catch (const Error&) {
            EXPECT_THROW(streamed(), Error) << bytes.substr(0, 40);
        }
    }
}

}  // namespace
}  // namespace vask
