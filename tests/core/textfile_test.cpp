#include <gtest/gtest.h>

#include <functional>

#include "../support/test_support.h"
#include "core/line_hand_off.h"
#include "core/textfile.h"
#include "platform/cp932.h"
#include "platform/errors.h"
#include "platform/utf.h"

namespace vask {
namespace {

using test::readBytes;
using test::TempDir;
using test::utf16be;
using test::writeBytes;

std::vector<std::u16string> readAll(const std::filesystem::path& file, LineRule rule) {
    Cp932LineReader reader(file, rule);
    std::vector<std::u16string> lines;
    for (std::u16string line; reader.next(line);) lines.push_back(line);
    return lines;
}

using Lines = std::vector<std::u16string>;

TEST(TextFileLineReader, LineBreaksAndTheEndOfFileMark) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"\x1A"
         "abc",
         {}},
        {"abc", {u"abc"}},
        {"abc\r\n", {u"abc"}},
        {"IR,1\r\nRE,2\r\n\x1A", {u"IR,1", u"RE,2"}},
        {"a\r\n\r\nb", {u"a", u"", u"b"}},
        {"a\nb\n", {u"a", u"b"}},
        {"abc\rdef\nghi", {u"abc", u"ghi"}},  // after a lone CR the rest of the line is skipped
        {"a\rb\rc\r", {u"a"}},                // CR-only breaks: one line
        {"a\r\r\nb", {u"a", u"b"}},
        {"ab\x1A"
         "cd\r\nef",
         {u"ab"}},  // 0x1A in the middle ends the reading
        {"a\rx\x1A"
         "\nb",
         {u"a"}},  // also while skipping
        {"\x82\xA0\r\n", {u"あ"}},
        {"\x81\r\n", {u"\uFFFD"}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeBytes(dir / "f", c.bytes);
        EXPECT_EQ(readAll(dir / "f", LineRule::TextFile), c.lines) << c.bytes;
    }
}

TEST(AnyBreakLineReader, CrLfLfAndLoneCrEachEndALine) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a\rb\nc\r\nd", {u"a", u"b", u"c", u"d"}},
        {"a\r\n", {u"a"}},
        {"\r\n\r\n", {u"", u""}},
        {"a\x1A"
         "b",
         {u"a\x1A"
          "b"}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeBytes(dir / "f", c.bytes);
        EXPECT_EQ(readAll(dir / "f", LineRule::AnyBreak), c.lines) << c.bytes;
    }
}

TEST(LineReader, LinesLongerThanTheReadBlockAndBreaksAcrossBlocks) {
    TempDir dir;
    const std::string longLine(1 << 20, 'x');
    std::string bytes = longLine + "\r";
    bytes.resize(kLineReadBlock * 5 - 1, 'y');  // the CR LF pair of the next line straddles a block
    bytes += "\r\nz";
    writeBytes(dir / "f", bytes);
    const Lines lines = readAll(dir / "f", LineRule::AnyBreak);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), longLine.size());
    EXPECT_EQ(lines[2], u"z");
}

TEST(LineBytesReader, SplitsAtEveryBreakAcrossBlocksAndSkipsAByteOrderMarkOnlyWhenWhole) {
    test::TempDir dir;
    const std::string longLine(kLineReadBlock - 1, 'x');  // its CR is the last byte of the first block
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a\r\rb\n\nc", {"a", "", "b", "", "c"}},
        {"a\r\n", {"a"}},
        {"\xEF\xBB\xBFx\r\n", {"x"}},
        {"\xEF\xBB", {"\xEF\xBB"}},
        {longLine + "\r\nnext", {longLine, "next"}},
        {std::string(600000, 'y') + "\nz", {std::string(600000, 'y'), "z"}},
    };
    for (const auto& c : cases) {
        test::writeBytes(dir / "f", c.bytes);
        LineBytesReader reader(dir / "f", LineRule::AnyBreak);
        reader.skipLeading("\xEF\xBB\xBF");
        std::vector<std::string> lines;
        std::string_view line;
        while (reader.next(line)) lines.emplace_back(line);
        EXPECT_EQ(lines, c.lines) << c.bytes.substr(0, 20);
    }
}

TEST(LineBytesReader, SmallBlocksGiveTheSameLinesUnderBothRules) {
    // Every block size from 4 puts a break, a CR LF pair or the 0x1A on some block edge.
    TempDir dir;
    const std::string bytes =
        "ab\r\ncd\rskip\nef\n\r\ngh\r\r\nij\x1A"
        "kl\r\n";
    writeBytes(dir / "f", bytes);
    const std::vector<std::string> anyBreak = {"ab",
                                               "cd",
                                               "skip",
                                               "ef",
                                               "",
                                               "gh",
                                               "",
                                               "ij\x1A"
                                               "kl"};
    const std::vector<std::string> textFile = {"ab", "cd", "ef", "", "gh", "ij"};
    for (size_t block = 4; block <= 12; ++block) {
        for (const auto& [rule, expected] :
             {std::pair{LineRule::AnyBreak, anyBreak}, std::pair{LineRule::TextFile, textFile}}) {
            LineBytesReader reader(dir / "f", rule, block);
            std::vector<std::string> lines;
            for (std::string_view line; reader.next(line);) lines.emplace_back(line);
            EXPECT_EQ(lines, expected) << "block " << block;
        }
    }
}

// A reader that refuses what is no Shift-JIS text looks at every byte of the file up to the
// end mark 0x1A, also at the part of a physical line that the text-file rule skips after a
// lone CR, wherever the blocks it reads end; it names the line of the first offending byte.
TEST(LineBytesReader, ARefusalLooksAtEveryByteBeforeTheEndMarkAndNamesItsLine) {
    TempDir dir;
    const std::string record = "IR,1,\x88\x9F\x82\xA0\x83\x41\xB1,\x81\x40" + std::string(40, '1') + "\x9F\xFC\xE0\x40";
    const struct {
        std::string bytes;
        LineRule rule;
        size_t line;  // of the refusal; 0: accepted
    } cases[] = {
        {std::string("ab\rskip\0\ncd", 12), LineRule::TextFile, 1},
        {std::string("ab\r\ncd\x1A\0", 8), LineRule::TextFile, 0},
        {std::string("ab\r\ncd\x1A\0", 8), LineRule::AnyBreak, 2},
        {std::string("\0", 1), LineRule::AnyBreak, 1},
        {"ab\r\ncd\r\n", LineRule::TextFile, 0},
        // Undefined single bytes, a lead byte without a defined pair, one at the very end
        // and one before a line break.
        {"a\r\nb\x80", LineRule::AnyBreak, 2},
        {"a\rb\r\nc\xA0", LineRule::AnyBreak, 3},
        {"a\n\n\xFD", LineRule::TextFile, 3},
        {"\x85\x40", LineRule::AnyBreak, 1},
        {"ab\r\n\x82", LineRule::TextFile, 2},
        {"a\x82\r\nb", LineRule::AnyBreak, 1},
        {"ab\rx\x80\ncd", LineRule::TextFile, 1},
        {"ab\rx\x80\ncd", LineRule::AnyBreak, 2},
        {"ab\r\n\x1A\x80\xFF", LineRule::TextFile, 0},
        // UTF-8 with a three-byte sequence, whether or not code page 932 could read it; its
        // first such sequence counts even where a later one is no code page 932 character.
        // (カ, E3 82 AB, is code page 932 too: E3 82 and the half-width AB; テ, E3 83 86,
        // is not: 86 is no character.)
        {"IR\r\n\xE3\x82\xAB", LineRule::TextFile, 2},
        {"IR\r\n\xE3\x82\xAB\r\n\x1A\x82\xA0", LineRule::TextFile, 2},
        {"a\n\xE3\x82\xAB\n\xE3\x83\x86", LineRule::AnyBreak, 2},
        {"a\n\xE3\x82\xAB\n\xF0\x9F\x98\x80", LineRule::AnyBreak, 2},
        // Not UTF-8 after all (82 A0 is no UTF-8): only the code page 932 fault counts.
        {"a\n\xE3\x82\xAB\n\xE3\x83\x86\n\x82\xA0", LineRule::AnyBreak, 3},
        {"\xE3\x82\xAB\n\x82\xA0", LineRule::AnyBreak, 0},
        // Half-width kana pairs are two-byte UTF-8 sequences: accepted.
        {"\xC3\xBD\xC3\xBD,\xB1", LineRule::TextFile, 0},
        {"\xC3\xBD\xC3\xBD", LineRule::AnyBreak, 0},
        // Long enough to be taken 64 bytes at a time: a fault after many characters, in a
        // pair that runs past 64 bytes, right after one, and NUL far in.
        {record + "\r\n" + record + "\x85\x40\r\n", LineRule::TextFile, 2},
        {std::string(63, 'a') + "\x88\x9F\x82", LineRule::AnyBreak, 1},
        {std::string(63, 'a') + "\x88\x9F\x80" + record, LineRule::AnyBreak, 1},
        {std::string(62, 'a') + "\x88\x9F\x80" + record, LineRule::AnyBreak, 1},
        {record + "\n" + record + "\n" + record + std::string("\0", 1), LineRule::AnyBreak, 3},
        {record + "\r\n" + record + "\r\n\x1A\x80", LineRule::TextFile, 0},
        {std::string(100, 'a') + "\n\xE3\x82\xAB" + std::string(100, 'b'), LineRule::AnyBreak, 2},
        {std::string(100, 'a') + "\n\xE3\x82\xAB\n" + record, LineRule::AnyBreak, 0},
    };
    for (const auto& c : cases) {
        for (const size_t block : {size_t{4}, size_t{5}, size_t{6}, size_t{7}, size_t{8}, size_t{9}, size_t{64},
                                   size_t{65}, size_t{100}, kLineReadBlock}) {
            SCOPED_TRACE(testing::PrintToString(c.bytes) + " block " + std::to_string(block));
            writeBytes(dir / "f", c.bytes);
            LineBytesReader reader(dir / "f", c.rule, block);
            reader.refuseNonShiftJis();
            std::u16string refusal;
            try {
                for (std::string_view line; reader.next(line);) {
                }
            } catch (const Error& e) {
                refusal = e.message();
            }
            EXPECT_EQ(refusal, c.line ? msg::notShiftJisText(dir / "f", c.line) : u"");
        }
    }
}

TEST(LineReader, AMissingFileIsAnError) {
    TempDir dir;
    EXPECT_THROW(Cp932LineReader(dir / "missing", LineRule::TextFile), Error);
    EXPECT_THROW(Cp932LineReader(dir.path(), LineRule::TextFile), Error);
}

TEST(LineListLoader, ByteOrderMarksSelectTheEncoding) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"\xEF\xBB\xBF\xE3\x81\x82\r\nb", {u"あ", u"b"}},
        {std::string("\xFF\xFE\x42\x30\n\0", 6), {u"あ"}},
        {std::string("\xFE\xFF\x30\x42\0\r\0\n\0b", 10), {u"あ", u"b"}},
        {"\x82\xA0\rb\r\n\r\n", {u"あ", u"b", u""}},
        {"a\x1A"
         "b",
         {u"a\x1A"
          "b"}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeBytes(dir / "f", c.bytes);
        EXPECT_EQ(LoadLineList(dir / "f"), c.lines) << c.bytes;
    }
    EXPECT_EQ(loadLines(dir / "f", TextEncoding::Cp932), (Lines{u"a\x1A"
                                                                "b"}));
}

TEST(TextLineReader, GivesTheLinesTheLineListLoaderGivesInEveryEncoding) {
    const std::u16string texts[] = {
        u"",
        u"a",
        u"あ\r\nb\rc\n\r\n",
        u"\r\r\n\n",
        u"カルテ番号\t患者氏名\r\n1001\t山田　太郎\t\t202404\r\n",
        u"x\U0001F600y\ra\x1A"
        "b",
    };
    std::vector<std::string> files;
    for (const auto& text : texts) {
        files.push_back("\xEF\xBB\xBF" + utf16ToUtf8(text));
        files.push_back("\xFF\xFE" + utf16ToUtf16le(text));
        files.push_back("\xFE\xFF" + utf16be(text));
        files.push_back(cp932::encode(text));
    }
    const std::string raw[] = {
        "\xEF\xBB\xBF",
        "\xEF\xBB",
        "\xFF\xFE",
        "\xFF\xFE"
        "a",  // an odd last byte
        std::string("\xFF\xFE"
                    "a\0\n\0"
                    "b",
                    7),
        std::string("\xFE\xFF\0\r\0", 5),
        "\xEF\xBB\xBF\xE3\x81\r\n\xE3\x81\x82\xE3",  // ill-formed sequences ended by a break
        "\x82\r\x82\xA0\n\x82",
        "\xEF\xBB\xBF\xEF\xBB\xBF"
        "a",  // only the first mark is dropped
    };
    files.insert(files.end(), std::begin(raw), std::end(raw));
    TempDir dir;
    for (const auto& bytes : files) {
        writeBytes(dir / "f", bytes);
        const Lines expected = LoadLineList(dir / "f");
        for (const size_t block : {size_t{4}, size_t{5}, size_t{6}, size_t{7}, kLineReadBlock}) {
            TextLineReader reader(dir / "f", Cp932Input::AnyBytes, block);
            Lines lines;
            for (std::u16string line; reader.next(line);) lines.push_back(line);
            EXPECT_EQ(lines, expected) << "block " << block << ": " << bytes.substr(0, 24);
        }
    }
}

// The streaming reader and the line-list loader refuse the same files, with the same line,
// and only without a byte-order mark.
TEST(TextLineReader, ShiftJisTextIsRefusedOnlyWithoutAMark) {
    TempDir dir;
    const auto streamed = [&] {
        TextLineReader reader(dir / "f", Cp932Input::ShiftJisText);
        Lines lines;
        for (std::u16string line; reader.next(line);) lines.push_back(line);
        return lines;
    };
    const struct {
        std::string bytes;
        size_t line;  // of the refusal; 0: accepted
        Lines lines;
    } cases[] = {
        {std::string("a\r\nb\0", 5), 2, {}},
        {std::string("\xFF\xFE"
                     "a\0",
                     4),
         0,
         {u"a"}},
        {"a\r\n\xE3\x81\x82\xE3\x82\xAB", 2, {}},
        {"\xEF\xBB\xBF"
         "a\r\n\xE3\x81\x82",
         0,
         {u"a", u"あ"}},
        {"\x82\xA0\r\r\x81", 3, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        writeBytes(dir / "f", c.bytes);
        for (const auto& read : {std::function<Lines()>(streamed), std::function<Lines()>([&] {
                                     return LoadLineList(dir / "f", Cp932Input::ShiftJisText);
                                 })}) {
            if (c.line) {
                try {
                    read();
                    ADD_FAILURE() << "accepted";
                } catch (const Error& e) {
                    EXPECT_EQ(e.message(), msg::notShiftJisText(dir / "f", c.line));
                }
            } else {
                EXPECT_EQ(read(), c.lines);
            }
        }
    }
}

// Lines written as code page 932 with CR LF after each; what the code page cannot hold is
// one "?" per character, counted with the line it is in.
void writeLines(const std::filesystem::path& file, const std::vector<std::u16string>& lines, LostCharacters* lost) {
    LineWriter writer(file);
    for (const auto& line : lines) writer.writeLine(line);
    writer.commit();
    if (lost) *lost = writer.lost();
}

TEST(LineWriter, WritesCodePage932WithCrLfAfterEveryLine) {
    TempDir dir;
    LostCharacters lost;
    writeLines(dir / "out", {u"IR,1?", u"あ\U0001F600", u"", u"\xE9\xE9"}, &lost);
    EXPECT_EQ(readBytes(dir / "out"), "IR,1?\r\n\x82\xA0?\r\n\r\n??\r\n");
    EXPECT_EQ(lost.count, 3u);
    EXPECT_EQ(lost.lines, (std::vector<size_t>{2, 4}));
    writeLines(dir / "out", {}, nullptr);
    EXPECT_EQ(readBytes(dir / "out"), "");
}

TEST(LineWriter, ClaimsLinesReadAndWrittenBackKeepTheirRecords) {
    TempDir dir;
    writeBytes(dir / "in", "IR,1,\x83\x65\x83\x58\x83\x67\r\nRE,2\r\n\x1A");
    writeLines(dir / "out", readAll(dir / "in", LineRule::TextFile), nullptr);
    EXPECT_EQ(readBytes(dir / "out"), "IR,1,\x83\x65\x83\x58\x83\x67\r\nRE,2\r\n");
}

// The round trip of bytes writes what writeLine writes for the decoded lines: the same bytes but
// for the characters code page 932 has two codes for (NEC row 13, the NEC-selected IBM
// extensions), which come back in the encoder's form.
TEST(LineWriter, WritesTheRoundTripOfBytesAsItWritesTheirDecodedText) {
    TempDir dir;
    const std::vector<std::string> lines = {"IR,1", "", "\x87\x90\x87\x9C,\xED\x40x", "\x83\x65\x95\x5C\xB1"};
    LineWriter writer(dir / "bytes");
    std::vector<std::u16string> decoded;
    for (const auto& line : lines) {
        writer.writeRoundTrip(line);
        decoded.push_back(cp932::decode(line));
    }
    writer.commit();
    writeLines(dir / "text", decoded, nullptr);
    EXPECT_EQ(readBytes(dir / "bytes"), readBytes(dir / "text"));
    EXPECT_EQ(readBytes(dir / "bytes"), "IR,1\r\n\r\n\x81\xE0\x81\xBE,\xFA\x5Cx\r\n\x83\x65\x95\x5C\xB1\r\n");
}

TEST(LineWriter, Utf8WithByteOrderMark) {
    TempDir dir;
    LineWriter writer(dir / "out", TextEncoding::Utf8, true);
    writer.writeLine(u"あ");
    writer.commit();
    EXPECT_EQ(readBytes(dir / "out"), "\xEF\xBB\xBF\xE3\x81\x82\r\n");
}

// Lines handed to the work thread arrive whole, in order, with their tags, across many
// batches; what the work raises comes out of finish(), and the lines after it are dropped.
TEST(LineHandOff, GivesEveryLineInOrderAndRaisesTheWorksError) {
    std::vector<std::string> seen;
    std::vector<std::uint32_t> tags;
    LineHandOff handOff([&](std::string_view line, std::uint32_t tag) {
        seen.emplace_back(line);
        tags.push_back(tag);
    });
    std::vector<std::string> lines;
    for (std::uint32_t i = 0; i < 100000; ++i) {
        lines.push_back(i % 7 == 0 ? std::string() : std::to_string(i) + std::string(i % 50, 'x'));
        handOff.add(lines.back(), i);
    }
    handOff.finish();
    ASSERT_EQ(seen, lines);
    for (std::uint32_t i = 0; i < tags.size(); ++i) ASSERT_EQ(tags[i], i);

    size_t worked = 0;
    LineHandOff failing([&](std::string_view line, std::uint32_t) {
        if (line == "bad") throw Error(u"bad line");
        ++worked;
    });
    failing.add("good");
    failing.add("bad");
    failing.add("after");
    EXPECT_THROW(failing.finish(), Error);
    EXPECT_EQ(worked, 1u);
    EXPECT_THROW(failing.finish(), Error);  // and at every later call
}

}  // namespace
}  // namespace vask
