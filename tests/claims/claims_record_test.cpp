#include <gtest/gtest.h>

#include "../support/test_support.h"
#include "claims/claims_file.h"
#include "claims/claims_record.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "platform/cp932.h"
#include "platform/errors.h"

namespace vask::test {
namespace {

using claims::RecordKind;

TEST(RecordKind, FieldZeroComparedExactlyWithoutQuotes) {
    const std::pair<std::u16string, RecordKind> cases[] = {
        {u"IR,1", RecordKind::Clinic},
        {u"RE", RecordKind::Claim},
        {u"HO,", RecordKind::Insurer},
        {u"KO,1,2", RecordKind::PublicExpense},
        {u"SN,1", RecordKind::Qualification},
        {u"SJ,x", RecordKind::SymptomDetails},
        {u"CO,x", RecordKind::Comment},
        {u"\"RE\",1", RecordKind::Claim},
        {u"R\"E,1", RecordKind::Claim},
        {u"re,1", RecordKind::Other},
        {u" RE,1", RecordKind::Other},
        {u"RE ,1", RecordKind::Other},
        {u"REX,1", RecordKind::Other},
        {u"R,E", RecordKind::Other},
        {u"", RecordKind::Other},
        {u"SY,1", RecordKind::Other},
        {u"ＲＥ,1", RecordKind::Other},
    };
    for (const auto& [line, kind] : cases) {
        EXPECT_EQ(claims::recordKind(line), kind);
        EXPECT_EQ(claims::recordKind(std::string_view(cp932::encode(line))), kind);  // and as bytes
    }
}

// The record keeps its storage between lines; what it holds must always be the bytes of
// what GetCommaTxt gives for the line's text, and its join the bytes of CommaText's,
// whatever the record before it was and whatever was set in it. The two-byte characters
// below have trail bytes equal to ASCII characters (表 = 95 5C, ソ = 83 5C, ー = 81 5B).
TEST(Record, SplitsAndJoinsTheBytesAsGetCommaTxtAndCommaTextTheText) {
    const std::u16string lines[] = {
        u"RE,1,1112,50611,山田 太郎,1,a long field that does not fit a small buffer,,,x",
        u"",
        u",",
        u"a,,b",
        u"\"x,y\"",
        u"a\"\"b",
        u"HO,\"0613\"9999,,\"",
        u"SI,表ソー,\t,ﾃｽﾄ ,\x01",
        u"RE,1,1112,50611,山田 太郎,1,a long field that does not fit a small buffer,,,x",
        u"KO",
    };
    claims::Record record;
    for (const auto& line : lines) {
        const std::string bytes = cp932::encode(line);
        record.split(bytes);
        std::vector<std::u16string> expected;
        GetCommaTxt(line, expected);
        ASSERT_EQ(record.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(record.at(i), cp932::encode(expected[i]));
        std::string joined;
        record.appendJoined(joined);
        EXPECT_EQ(joined, cp932::encode(CommaText(expected)));
        // Values set in fields, in any order and one field twice, change those fields alone.
        const size_t last = expected.size() - 1;
        const std::pair<size_t, std::u16string> sets[] = {{last, u"v"},
                                                          {0, u"w"},
                                                          {last, u"表 z"},
                                                          {0, u"a-value-longer-than-any-field-before-it,with-a-comma"},
                                                          {1 % expected.size(), u"\"q"}};
        for (const auto& [position, value] : sets) {
            record.set(position, cp932::encode(value));
            expected[position] = value;
            joined.clear();
            record.appendJoined(joined);
            EXPECT_EQ(joined, cp932::encode(CommaText(expected)));
            joined.clear();
            record.appendJoinedByCommas(joined);
            std::u16string byCommas;
            for (size_t i = 0; i < expected.size(); ++i) byCommas += (i > 0 ? u"," : u"") + expected[i];
            EXPECT_EQ(joined, cp932::encode(byCommas));
        }
    }
}

TEST(FileKindMark, TheFourthCharacterOfTheFirstLineInTheLoadersEncoding) {
    TempDir dir;
    const std::pair<std::string, std::optional<char16_t>> cases[] = {
        {"IR,1,13\r\nRE,2", u'1'},
        {"IR,2", u'2'},
        {"IR,", std::nullopt},
        {"", std::nullopt},
        {"IR\r\n,1", std::nullopt},
        {"\xEF\xBB\xBFIR,2,13", u'2'},  // UTF-8 with its mark
        {std::string("\xFF\xFEI\0R\0,\0"
                     "1\0",
                     10),
         u'1'},  // UTF-16 LE
        {std::string("\xFE\xFF\0I\0R\0,\0"
                     "2",
                     10),
         u'2'},                        // UTF-16 BE
        {"\x83\x65\x83\x58,1", u'1'},  // テス,1 in Shift-JIS: the 4th character is "1"
        {"IR,1\r\n\x81 ", u'1'},       // only the first line is looked at
    };
    for (const auto& [bytes, mark] : cases) {
        writeBytes(dir / "f", bytes);
        EXPECT_EQ(claims::fileKindMark(dir / "f"), mark) << bytes;
    }
    EXPECT_THROW(claims::fileKindMark(dir / "missing"), Error);
    // Without a mark the first line must be Shift-JIS text: not a broken pair, not UTF-8.
    for (const char* bytes : {"\x81 R1", "IR,1,\xE3\x82\xAB\r\n"}) {
        writeBytes(dir / "f", bytes);
        EXPECT_THROW(claims::fileKindMark(dir / "f"), Error) << bytes;
    }
}

}  // namespace
}  // namespace vask::test
