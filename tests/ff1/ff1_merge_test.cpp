#include <gtest/gtest.h>

#include <algorithm>

#include "core/text_formats.h"
#include "core/textfile.h"
#include "ff1/ff1_format.h"
#include "ff1/ff1_merge.h"
#include "ff1/line_reader.h"
#include "ff1/record_log.h"
#include "ff1_test_support.h"
#include "platform/cp932.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::test {
namespace {

using ff1::MergeFF1Latest;

const std::u16string kHeader = u"施設コード\tデータ識別番号\t年月\tコード\t連番\tP1\tP2\tP3\tP4\tP5\tP6\tP7\tP8\tP9";

class Merge : public ::testing::Test {
protected:
    void write(const std::string& name, const std::vector<std::u16string>& lines) {
        writeBytes(in / name, sjisLines(lines));
    }
    std::u16string folder() const { return fromPath(in.path()) + u"/"; }
    // Merges the folder and returns the merged file's bytes.
    std::string merge() {
        MergeFF1Latest(folder(), fromPath(out / "G_FF1_all.txt"));
        return readBytes(out / "G_FF1_all.txt");
    }
    std::vector<std::u16string> mergedLines() { return linesOf(merge()); }

    TempDir in;
    TempDir out;
};

TEST_F(Merge, KeepsAllLinesOfEachDataIdsLatestMonthWhicheverFileHoldsThem) {
    const auto a3 = ff1Line(u"A", u"202403", u"CPF0001", payloads({u"170"}));
    const auto a4x = ff1Line(u"A", u"202404", u"CPF0001", payloads({u"171"}));
    const auto a4y = ff1Line(u"A", u"202404", u"CPP0001", payloads({u"", u"", u"1000001"}));
    const auto b4 = ff1Line(u"B", u"202404", u"CPF0001", payloads({u"150"}));
    const auto b5 = ff1Line(u"B", u"202405", u"CPF0001", payloads({u"151"}));
    write("G_FF1_202403.txt", {kHeader, a3, b5});
    write("G_FF1_202404.txt", {kHeader, a4x, b4, a4y, a4x});
    // One header line, first; all lines of A's 202404, the duplicate included; B's 202405.
    EXPECT_EQ(mergedLines(), (std::vector<std::u16string>{kHeader, a4x, a4y, a4x, b5}));
}

TEST_F(Merge, WithoutAnyHeaderLineTheMergedFileStartsWithData) {
    const auto a = ff1Line(u"A", u"202404", u"CPF0001", payloads({u"170"}));
    write("G_FF1_1.txt", {a});
    EXPECT_EQ(mergedLines(), std::vector<std::u16string>{a});
}

TEST(IsHeaderLine, NamesTheFacilityColumnOrHasNoIntegerInFieldZero) {
    const struct {
        std::u16string line;
        bool header;
    } cases[] = {
        {u"施設コード\tID", true},
        {u"131\tA\t202404\t施設コード", true},  // numeric field 0, but the name occurs
        {u"abc\tA\t202404", true},
        {u"2147483648\tA\t202404", true},  // no 32-bit integer
        {u"2147483647\tA\t202404", false},
        {u"-2147483648\tA", false},
        {u" 131 \tA", false},  // trimmed
        {u"$1F\tA", false},    // hexadecimal is an integer
        {u"1.0\tA", true},
        {u"\tA", true},                // empty field 0
        {u"", false},                  // no field at all
        {u"131\t猿{設コード", false},  // in code page 932 猿 ends in the first byte of 施
        {u"ａ\tA", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ff1::IsHeaderLine(c.line), c.header) << utf16ToUtf8(c.line);
        if (c.line.empty()) continue;
        // The same from the line's bytes, in either encoding.
        const std::pair<TextEncoding, std::string> encoded[] = {{TextEncoding::Cp932, sjis(c.line)},
                                                                {TextEncoding::Utf8, utf16ToUtf8(c.line)}};
        for (const auto& [encoding, bytes] : encoded) {
            const bool ascii = std::all_of(c.line.begin(), c.line.end(), [](char16_t u) { return u < 0x80; });
            const std::string_view field0 = std::string_view(bytes).substr(0, bytes.find('\t'));
            EXPECT_EQ(ff1::isHeaderLineBytes(bytes, field0, encoding, ascii), c.header) << utf16ToUtf8(c.line);
        }
    }
}

// The reader of FF1 files gives the lines the line-list loader gives, each with the fields
// splitTabs gives, wherever its blocks end.
TEST(FF1LineReader, GivesTheLoadersLinesAndFieldsAtAnyBlockBoundary) {
    const std::string cases[] = {
        "",
        "a\tb\r\nc\n\nd\re\r",
        "\r\n\r\n\t",
        "0123456789abcde\r\nX\tY",  // CR and LF on both sides of a 16-byte boundary
        std::string(40, 'x') + "\t" + std::string(20, 'y') + "\r" + std::string(33, '\t'),
        "1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t14\t15\t16\n\t\t",
        sjis(u"施設\tコード\r\nｱ\t1\t\r\n表示\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\tソ"),
    };
    const std::pair<size_t, size_t> shapes[] = {{3, 10}, {14, 14}};
    TempDir dir;
    for (const auto& bytes : cases) {
        writeBytes(dir / "G_FF1_1.txt", bytes);
        const auto lines = loadLines(dir / "G_FF1_1.txt", TextEncoding::Cp932);
        for (const size_t block : {size_t{16}, size_t{17}, size_t{31}, kLineReadBlock}) {
            for (const auto& [wanted, counted] : shapes) {
                ff1::FF1LineReader reader(dir / "G_FF1_1.txt", TextEncoding::Cp932, Cp932Input::ShiftJisText, wanted,
                                          counted, block);
                std::vector<std::u16string_view> fields;
                size_t n = 0;
                reader.forEachLine([&](std::string_view line, const ff1::LineFields& found, bool ascii) {
                    ASSERT_LT(n, lines.size()) << bytes;
                    EXPECT_EQ(cp932::decode(line), lines[n]) << bytes << " block " << block;
                    EXPECT_EQ(ascii, std::all_of(line.begin(), line.end(),
                                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
                    splitTabs(lines[n], fields);
                    EXPECT_EQ(found.size(), std::min(fields.size(), counted)) << bytes;
                    for (size_t f = 0; f < std::min({wanted, counted, fields.size()}); ++f) {
                        EXPECT_EQ(cp932::decode(found[f]), fields[f]) << bytes << " field " << f;
                    }
                    ++n;
                });
                EXPECT_EQ(n, lines.size()) << bytes;
            }
        }
    }
}

TEST(FF1LineReader, DropsTheUtf8MarkAndRefusesWhatIsNoShiftJisText) {
    TempDir dir;
    writeBytes(dir / "G_FF1_1.txt", "\xEF\xBB\xBF\xE6\x96\xBD\t1\r\n");
    std::vector<std::pair<std::string, bool>> lines;
    const auto keep = [&](std::string_view line, const ff1::LineFields&, bool ascii) {
        lines.emplace_back(line, ascii);
    };
    ff1::FF1LineReader(dir / "G_FF1_1.txt", TextEncoding::Utf8, Cp932Input::ShiftJisText, 3, 10).forEachLine(keep);
    EXPECT_EQ(lines, (std::vector<std::pair<std::string, bool>>{{"\xE6\x96\xBD\t1", false}}));
    for (const char* bytes : {"1\t2\r\n\x80", "1\t\xE6\x96\xBD"}) {
        writeBytes(dir / "G_FF1_1.txt", bytes);
        ff1::FF1LineReader reader(dir / "G_FF1_1.txt", TextEncoding::Cp932, Cp932Input::ShiftJisText, 3, 10);
        EXPECT_THROW(reader.forEachLine(keep), Error) << bytes;
    }
}

// The merge keeps lines in a log of blocks that drops the dead ones in place: the kept
// records stay whole and in order, a record longer than a block included.
TEST(RecordLog, CompactingKeepsTheRecordsAskedForInOrder) {
    ff1::RecordLog log;
    std::vector<std::string> records;  // each a tag 0 to 6, then its bytes
    for (size_t i = 0; i < 30000; ++i) {
        const size_t size = i % 1000 == 999 ? (size_t{1} << 20) + i : i % 200;
        const std::string tag = std::to_string(i % 7);
        const std::string body = std::string(size, static_cast<char>('a' + i % 26)) + std::to_string(i);
        records.push_back(tag + body);
        log.append(tag, body);
    }
    const auto contents = [&] {
        std::vector<std::string> all;
        log.forEach([&](std::string_view record, ff1::RecordLog::Place place) {
            EXPECT_EQ(ff1::RecordLog::recordAt(place), record);
            all.emplace_back(record);
        });
        return all;
    };
    EXPECT_EQ(contents(), records);
    for (const char dropped : {'3', '0', '5'}) {
        log.compact([&](std::string_view record) { return record[0] != dropped; });
        std::erase_if(records, [&](const std::string& record) { return record[0] == dropped; });
        EXPECT_EQ(contents(), records);
    }
    log.compact([](std::string_view) { return false; });
    EXPECT_TRUE(contents().empty());
}

TEST_F(Merge, AHeaderLineIsNeverMergedAndOnlyTheFirstOfTheRunIsKept) {
    const auto data = ff1Line(u"A", u"202404", u"X", payloads({u"1"}));
    const auto overflow = ff1Line(u"A", u"202404", u"X", payloads({u"2"}), u"2147483648");
    write("G_FF1_1.txt", {data, overflow, kHeader});
    write("G_FF1_2.txt", {kHeader});
    EXPECT_EQ(mergedLines(), (std::vector<std::u16string>{overflow, data}));
}

TEST_F(Merge, LinesWithoutUsableDataIdYearMonthOrTenFieldsAreDropped) {
    const auto tenFields = ff1Line(u"A", u"202404", u"X", {u"1", u"2", u"3", u"4", u"5"});
    write("G_FF1_1.txt", {
                             ff1Line(u"B", u"202404", u"X", {u"1", u"2", u"3", u"4"}),  // 9 fields
                             tenFields,
                             ff1Line(u"C", u"2024-04", u"X", payloads({})),
                             ff1Line(u"D", u"", u"X", payloads({})),
                             ff1Line(u"E", u"0", u"X", payloads({})),
                             ff1Line(u"  ", u"202404", u"X", payloads({})),
                             u"   \t ",
                             u"",
                         });
    EXPECT_EQ(mergedLines(), std::vector<std::u16string>{tenFields});
}

TEST_F(Merge, SortsDataIdsIgnoringOnlyAsciiCaseThenYearMonthDescendingThenInputOrder) {
    const std::vector<std::u16string> ids = {u"ａ", u"_x", u"B2", u"b", u"a1", u"a", u"9", u"10"};
    std::vector<std::u16string> lines;
    for (const auto& id : ids) lines.push_back(ff1Line(id, u"202404", u"X", payloads({id})));
    const auto upperA = ff1Line(u"A", u"202405", u"X", payloads({u"upper"}));
    const auto lowerA2 = ff1Line(u"a", u"202404", u"Y", payloads({u"second"}));
    lines.push_back(upperA);
    lines.push_back(lowerA2);
    write("G_FF1_1.txt", lines);
    // "a" and "A" are two data IDs that sort together: A's later month first, then a's
    // lines in input order. A prefix comes first; full-width letters are not folded.
    EXPECT_EQ(mergedLines(), (std::vector<std::u16string>{lines[7], lines[6], upperA, lines[5], lowerA2, lines[4],
                                                          lines[3], lines[2], lines[1], lines[0]}));
}

TEST_F(Merge, EqualYearMonthsOfCaseVariantsKeepInputOrderAcrossFiles) {
    const auto x1 = ff1Line(u"x", u"202404", u"P", payloads({u"1"}));
    const auto x2 = ff1Line(u"X", u"202404", u"P", payloads({u"2"}));
    const auto x3 = ff1Line(u"x", u"202404", u"P", payloads({u"3"}));
    write("G_FF1_1.txt", {x1, x2});
    write("G_FF1_2.txt", {x3});
    EXPECT_EQ(mergedLines(), (std::vector<std::u16string>{x1, x2, x3}));
}

TEST(ListFF1Files, TxtFilesFirstThenTsvCaseInsensitiveSortedAndOnlyPlainFilesHere) {
    TempDir dir;
    for (const char* name : {"G_FF1_b.TSV", "g_ff1_a.tsv", "G_FF2.txt", "xG_FF1.txt", "G_FF1.txt.bak", "G_FF1.tx"}) {
        writeBytes(dir / name, "");
    }
    std::filesystem::create_directory(dir / "G_FF1_dir.tsv");
    std::filesystem::create_directory(dir / "sub");
    writeBytes(dir / "sub" / "G_FF1_sub.tsv", "");
    auto names = [&] {
        std::vector<std::string> found;
        for (const auto& f : ff1::listFF1Files(dir.path())) found.push_back(utf8(f.filename()));
        return found;
    };
    EXPECT_EQ(names(), (std::vector<std::string>{"G_FF1_b.TSV", "g_ff1_a.tsv"}));
    writeBytes(dir / "g_FF1.TXT", "");
    writeBytes(dir / "G_FF1_2.txt", "");
    EXPECT_EQ(names(), (std::vector<std::string>{"G_FF1_2.txt", "g_FF1.TXT"}));
}

TEST_F(Merge, TheFirstListedFileDecidesTheOutputEncodingEachFileIsReadInItsOwn) {
    const auto utf8 = ff1Line(u"A", u"202404", u"X", payloads({u"髙橋①"}));
    const auto shiftJis = ff1Line(u"B", u"202404", u"X", payloads({u"ｶﾅ漢字"}));
    writeBytes(in / "G_FF1_1.txt", "\xEF\xBB\xBF" + utf16ToUtf8(utf8) + "\r\n");
    writeBytes(in / "G_FF1_2.txt", sjisLines({shiftJis}));
    EXPECT_EQ(merge(), "\xEF\xBB\xBF" + utf16ToUtf8(utf8) + "\r\n" + utf16ToUtf8(shiftJis) + "\r\n");

    std::filesystem::rename(in / "G_FF1_1.txt", in / "G_FF1_3.txt");
    EXPECT_EQ(merge(), sjisLines({utf8, shiftJis}));
}

TEST_F(Merge, LinesPassThroughTheCodecAsWrittenAndEndInCrLf) {
    // The duplicate code ED40 comes out as FA5C; LF and CR end lines. A UTF-8 file merged into
    // a Shift-JIS one loses what Shift-JIS cannot hold: written as "?" and counted.
    const std::string line1 = sjis(ff1Line(u"A", u"202404", u"X", payloads({u"a"})));
    const std::string line2 = sjis(ff1Line(u"B", u"202404", u"X", payloads({u"b"}))) + "\xED\x40";
    writeBytes(in / "G_FF1_1.txt", line1 + "\n" + line2 + "\r");
    writeBytes(in / "G_FF1_2.txt",
               "\xEF\xBB\xBF" + utf16ToUtf8(ff1Line(u"C", u"202404", u"X", payloads({u"\U00020BB7?"}))));
    const std::string expected2 = sjis(ff1Line(u"B", u"202404", u"X", payloads({u"b"}))) + "\xFA\x5C";
    const std::string expected3 = sjis(ff1Line(u"C", u"202404", u"X", payloads({u"??"})));
    LostCharacters lost;
    MergeFF1Latest(folder(), fromPath(out / "G_FF1_all.txt"), &lost);
    EXPECT_EQ(readBytes(out / "G_FF1_all.txt"), line1 + "\r\n" + expected2 + "\r\n" + expected3 + "\r\n");
    EXPECT_EQ(lost.count, 1u);
    EXPECT_EQ(lost.lines, std::vector<size_t>{3});
}

TEST_F(Merge, ALineOfTenThousandFieldsIsKeptWhole) {
    std::vector<std::u16string> many(9999, u"v");
    const auto line = ff1Line(u"A", u"202404", u"X", many);
    write("G_FF1_1.txt", {line});
    EXPECT_EQ(mergedLines(), std::vector<std::u16string>{line});
}

// Without the UTF-8 mark a file is read as Shift-JIS, which holds no NUL byte: a UTF-16
// file (marked or not) is refused rather than merged as lines of garbage.
TEST_F(Merge, AUtf16FileIsNoShiftJisText) {
    const std::u16string text = kHeader + u"\r\n" + ff1Line(u"A", u"202404", u"X", payloads({u"1"})) + u"\r\n";
    writeBytes(in / "G_FF1_1.txt", "\xFF\xFE" + utf16ToUtf16le(text));
    try {
        merge();
        FAIL() << "no error";
    } catch (const Error& e) {
        // The folder part is as the merge joins it (its separator differs by system).
        EXPECT_TRUE(e.message().starts_with(u"ファイル \"" + fromPath(in.path())));
        EXPECT_TRUE(e.message().ends_with(u"G_FF1_1.txt\" はShift-JISのテキストではありません（1行目）"));
    }
    EXPECT_FALSE(std::filesystem::exists(out / "G_FF1_all.txt"));
}

TEST_F(Merge, MissingFolderOrNoFF1FileFailsWithTheTextAndWritesNothing) {
    const std::u16string missing = fromPath(in / "gone") + u"/";
    try {
        MergeFF1Latest(missing, fromPath(out / "m.txt"));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), u"入力フォルダが見つかりません：" + missing);
    }
    writeBytes(in / "G_FF1_1.csv", "");
    writeBytes(out / "m.txt", "older");
    try {
        MergeFF1Latest(folder(), fromPath(out / "m.txt"));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), u"G_FF1*.txt / G_FF1*.tsv が見つかりません：" + folder());
    }
    EXPECT_EQ(readBytes(out / "m.txt"), "older");  // the listing failed before the deletion
}

}  // namespace
}  // namespace vask::test
