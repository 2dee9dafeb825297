// The form-1 file read as bytes: the lines and refusals are those of the text line reader,
// and the fields those of the text split rules, wherever the read blocks and the sixteen
// bytes the split looks at together happen to end.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "../support/test_support.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "formone/byte_scan.h"
#include "formone/form1_lines.h"
#include "platform/errors.h"
#include "platform/utf.h"

namespace vask::formone {
namespace {

using Lines = std::vector<std::u16string>;

// The lines as FormOneLines gives them, decoded; or the message of its refusal.
std::u16string readAll(const std::filesystem::path& file, size_t block, Lines& lines) {
    try {
        FormOneLines reader(file, block);
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

TEST(FormOneLines, GivesTheLinesAndRefusalsOfTheTextLineReader) {
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

// Lines of tabs and commas at every place around the sixteen-byte boundaries, with bytes
// of 80 and above here and there, split as the text rules split the same text.
TEST(ByteFields, SplitsAsTheTextRulesAndKnowsTheFieldsOfOnlyAsciiBytes) {
    std::mt19937 random(20240401);
    const char pieces[] = {'\t', ',', 'a', '1', ' ', '\x82', '\xA0'};
    for (int round = 0; round < 2000; ++round) {
        std::string line(random() % 70, 'x');
        for (char& c : line) c = pieces[random() % std::size(pieces)];
        std::u16string text;  // each byte as one code unit: the splits look at single units
        for (const char c : line) text += static_cast<char16_t>(static_cast<unsigned char>(c));
        const size_t maxFields = 1 + random() % 40;

        std::vector<std::u16string_view> tabFields;
        splitTabs(text, tabFields);
        std::vector<std::u16string> commaAndTabFields;
        splitCommaAndTabFields(text, maxFields, commaAndTabFields);
        if (text.empty()) commaAndTabFields.clear();  // the comma split gives one empty field there

        ByteFields fields;
        const auto expect = [&](const auto& expected, size_t count) {
            ASSERT_EQ(fields.size(), count) << line;
            for (size_t i = 0; i < count; ++i) {
                const std::string_view field = fields[i];
                EXPECT_EQ(std::u16string(text.data() + (field.data() - line.data()), field.size()), expected[i])
                    << line << " field " << i;
                const bool ascii = field.find_first_of("\x82\xA0") == std::string_view::npos;
                EXPECT_EQ(fields.isAscii(i), ascii) << line << " field " << i;
            }
        };
        fields.split(line, '\t', '\t', SIZE_MAX);
        expect(tabFields, tabFields.size());
        fields.split(line, '\t', ',', maxFields);
        expect(commaAndTabFields, commaAndTabFields.size());
    }
}

}  // namespace
}  // namespace vask::formone
