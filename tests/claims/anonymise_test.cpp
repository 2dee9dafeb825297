#include <gtest/gtest.h>

#include <algorithm>

#include "claims/anonymise.h"
#include "claims_fixture.h"
#include "platform/errors.h"

namespace vask::test {
namespace {

using claims::ClaimsKind;
using claims::Conv;

std::string ascii(std::u16string_view text) { return std::string(text.begin(), text.end()); }

class Anonymise : public ClaimsFiles {
protected:
    claims::ClaimsResult run() { return Conv(programFolder.path(), inputText()); }
    // Runs on `lines` and returns the text of the one output file `name`.
    std::string runOn(const std::vector<std::u16string>& lines, std::string_view name) {
        write(lines);
        const auto result = run();
        EXPECT_FALSE(result.outcome.isRefusal());
        EXPECT_EQ(listFolder(programFolder.path()), std::vector<std::string>{std::string(name)});
        return output(name);
    }
    // The message of the error a run on `lines` raises; nothing may be written.
    std::u16string errorOn(const std::vector<std::u16string>& lines) {
        write(lines);
        try {
            run();
        } catch (const Error& e) {
            return e.message();
        }
        return u"(no error)";
    }
};

TEST_F(Anonymise, EachRecordKindIsRewrittenItsOwnWay) {
    const std::string out = runOn(
        {
            u"\"IR\",\"2\",1 3,1,1234567,,山田医院,50611,00,03-1234-5678,x",
            u"RE,12,1112,50611,\"山田 太郎\",1,ﾔﾏﾀﾞ ﾀﾛｳ,\"a,b\"",
            u"HO,06139999,記号,123,1,a\tb",
            u"KO,80136010,7654321,\"\"",
            u"SY,\"a b\",8833421",
            u"SJ,01,free text",
            u"CO,,,\"quoted, comment\"",
            u"",
            u"re,1,2,3,4",
            u" RE,1,2,3,4",
            u"SNX,1",
        },
        "50611_2.UKE");
    EXPECT_EQ(out, sjisLines({
                       u"IR,2,\"1 3\",1,0123456,,VELTクリニック,50611,00,012-345-6789,x",
                       u"RE,12,1112,50611,テスト国１２,1,ﾔﾏﾀﾞ ﾀﾛｳ,a,b",
                       u"HO,12345678,,１２３４５,1,\"a\tb\"",
                       u"KO,12345678,1234567,",
                       u"SY,\"a b\",8833421",
                       u"",
                       u"re,1,2,3,4",
                       u" RE,1,2,3,4",
                       u"SNX,1",
                   }));
}

TEST_F(Anonymise, TheKanaNameIsEmptiedOnlyWhenTheRecordReachesIt) {
    auto claim = [](int fields) {
        std::u16string line = u"RE,1,1112,50611,名前";
        for (int i = 5; i < fields; ++i) line += u",f" + fromSjis(std::to_string(i));
        return line;
    };
    std::u16string kept36 = claim(36);
    std::u16string emptied37 = claim(37);
    emptied37.erase(emptied37.size() - 3);  // ",f36" -> ","
    std::u16string emptied38 = claim(38);
    emptied38.replace(emptied38.find(u",f36,"), 5, u",,");
    const auto out = runOn({claim(36), claim(37), claim(38)}, "_1.UKE");
    auto named = [](std::u16string line) { return line.replace(line.find(u"名前"), 2, u"テスト社１"); };
    EXPECT_EQ(out, sjisLines({named(kept36), named(emptied37), named(emptied38)}));
}

TEST_F(Anonymise, KindAndMonthComeFromTheClinicRecordTrimmed) {
    const auto out = runOn({u"RE,1,a,b,c", clinicRecord(u" 2\t", u" 50612 "), u"RE,10,a,b,c"}, "50612_2.UKE");
    EXPECT_EQ(
        out, sjisLines({u"RE,1,a,b,テスト社１", u"IR,\" 2\t\",13,1,0123456,,VELTクリニック,\" 50612 \",00,012-345-6789",
                        u"RE,10,a,b,テスト国１０"}));
}

TEST_F(Anonymise, AFileWithoutClinicRecordIsAnEmployeeFileWithoutMonth) {
    write({u"RE,3,a,b,c"});
    const auto result = run();
    EXPECT_EQ(result.fileName, u"_1.UKE");
    EXPECT_EQ(result.kind, ClaimsKind::Employee);
    EXPECT_EQ(output("_1.UKE"), sjisLines({u"RE,3,a,b,テスト社３"}));
}

// SN repeats the numbers that HO and KO hide: they are replaced too, but only where the
// record holds them.
TEST_F(Anonymise, QualificationRecordsLoseTheirInsuranceNumbers) {
    const auto out = runOn(
        {
            u"SN,1,01,06139999,記号,番号,01,1234567,x",
            u"SN,1,01, ,記号,\t,  ,,x",
            u"SN,1,01,06139999",
            u"SN,1,01,06139999,記号",
            u"SN",
        },
        "_1.UKE");
    EXPECT_EQ(out, sjisLines({
                       u"SN,1,01,12345678,,１２３４５,00,1234567,x",
                       u"SN,1,01,\" \",,\"\t\",\"  \",,x",
                       u"SN,1,01,12345678",
                       u"SN,1,01,12345678,",
                       u"SN",
                   }));
}

TEST_F(Anonymise, ARecordTooShortForItsReplacementsStopsTheRunAtTheFirstMissingField) {
    const std::pair<std::u16string, int> cases[] = {
        {u"IR", 1},
        {u"IR,1,13", 7},
        {u"IR,1,13,1,2,3,4,5", 9},
        {u"IR,1,13,1,2,3,4,5,6", 9},
        {u"RE", 1},
        {u"RE,1,2,3", 4},
        {u"HO", 1},
        {u"HO,1", 2},
        {u"HO,1,2", 3},
        {u"KO,1", 2},
        {u"KO", 1},
    };
    for (const auto& [record, position] : cases) {
        EXPECT_EQ(errorOn({clinicRecord(), u"SY,1", record}), msg::listIndexOutOfBounds(position)) << ascii(record);
        EXPECT_TRUE(listFolder(programFolder.path()).empty());
    }
}

TEST_F(Anonymise, AFailedRunKeepsTheOlderOutput) {
    writeBytes(programFolder / "50611_1.UKE", "older");
    EXPECT_EQ(errorOn({clinicRecord(), u"HO,1"}), msg::listIndexOutOfBounds(2));
    EXPECT_EQ(output("50611_1.UKE"), "older");
    EXPECT_EQ(listFolder(programFolder.path()), std::vector<std::string>{"50611_1.UKE"});
}

TEST_F(Anonymise, ARunReplacesAnOlderOutputAndLeavesTheInputAlone) {
    writeBytes(programFolder / "50611_1.UKE", "older");
    write({clinicRecord(), u"SJ,x"});
    const std::string before = readBytes(input());
    run();
    EXPECT_EQ(output("50611_1.UKE"), sjisLines({u"IR,1,13,1,0123456,,VELTクリニック,50611,00,012-345-6789"}));
    EXPECT_EQ(readBytes(input()), before);
}

TEST_F(Anonymise, AMissingFileIsRefusedWithoutWriting) {
    for (const std::u16string& path :
         {std::u16string(), (inputs / "none.UKE").u16string(), inputs.path().u16string()}) {
        const auto result = Conv(programFolder.path(), path);
        EXPECT_TRUE(result.outcome.isRefusal());
        EXPECT_EQ(result.outcome.message(), u"ファイルがありません。");
    }
    EXPECT_TRUE(listFolder(programFolder.path()).empty());
}

TEST_F(Anonymise, LineEndsAndTheEndOfFileMarkAsTheTextFileReaderSeesThem) {
    struct Case {
        std::string bytes;
        std::vector<std::u16string> lines;
    };
    const Case cases[] = {
        // After a CR the rest of the physical line, up to the next LF, is skipped.
        {"SY,1\rSY,2\rSY,3\r", {u"SY,1"}},
        {"SY,1\rskipped\nSY,2\n\nSY,3", {u"SY,1", u"SY,2", u"", u"SY,3"}},
        // Reading stops for good at the first 0x1A.
        {"SY,1\r\nSY,2\x1Atail\r\nSY,3\r\n", {u"SY,1", u"SY,2"}},
        {"\x1ASY,1\r\n", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        writeRaw(c.bytes);
        run();
        EXPECT_EQ(output("_1.UKE"), sjisLines(c.lines)) << c.bytes;
    }
}

// A code that has a twin in code page 932 (NEC row 13, the NEC-selected IBM extensions)
// is written as the encoder writes its character: in a line kept as read, in a rewritten
// record, and in a line after many lines that had none.
TEST_F(Anonymise, CodesWithATwinAreWrittenInTheEncodersForm) {
    const std::string plainLines = [] {
        std::string lines;
        for (int i = 0; i < 3000; ++i) lines += "SY,1\r\n";
        return lines;
    }();
    const struct {
        std::string bytes;
        std::vector<std::u16string> lines;
    } cases[] = {
        {"SY,\x87\x90\r\n", {u"SY,≒"}},
        {"RE,1,1112,50611,a,1,\xED\x40\r\n", {u"RE,1,1112,50611,テスト社１,1,纊"}},
        {plainLines + "SY,\xED\x40\r\n", {}},
    };
    for (const auto& c : cases) {
        writeRaw(c.bytes);
        run();
        auto lines = c.lines;
        if (lines.empty()) {
            lines.assign(3000, u"SY,1");
            lines.push_back(u"SY,纊");
        }
        EXPECT_EQ(output("_1.UKE"), sjisLines(lines)) << c.bytes.substr(0, 40);
    }
}

// Input that is no Shift-JIS text (binary bytes, or a byte that is no character, which would
// come out as "?") is refused at the line of its first offending byte: nothing is written and
// the input stays as it was.
TEST_F(Anonymise, InputThatIsNoShiftJisTextIsRefusedAndWritesNothing) {
    std::string binary;
    for (int i = 0; i < 1 << 16; ++i) binary.push_back(static_cast<char>((i * 7919 + i / 251) & 0xFF));
    binary.erase(std::remove(binary.begin(), binary.end(), '\x1A'), binary.end());
    const struct {
        std::string bytes;
        const char16_t* line;
    } cases[] = {
        {std::string("\0\xFF\xFE", 3) + binary, u"（1行目）"},
        {sjis(clinicRecord()) + "\r\nSY,\x81\x20x,\x82\r\nRE,1,2,3,\x81\r\n\x1A", u"（2行目）"},
    };
    for (const auto& c : cases) {
        writeRaw(c.bytes);
        try {
            run();
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), u"ファイル \"" + inputText() + u"\" はShift-JISのテキストではありません" + c.line);
        }
        EXPECT_TRUE(listFolder(programFolder.path()).empty());
        EXPECT_EQ(readBytes(input()), c.bytes);
    }
}

TEST_F(Anonymise, AFiftyMegabyteLineIsOneRecord) {
    const std::string field(50u << 20, 'a');
    writeRaw("RE,1,2,3,\"name\"," + field + "\r\n\x1A");
    run();
    const std::string out = output("_1.UKE");
    const std::string head = sjis(u"RE,1,2,3,テスト社１,");
    ASSERT_EQ(out.size(), head.size() + field.size() + 2);
    EXPECT_EQ(out.compare(0, head.size(), head), 0);
    EXPECT_EQ(out.find_first_not_of('a', head.size()), out.size() - 2);
}

TEST_F(Anonymise, AnUnwritableProgramFolderIsAnErrorThatNamesTheFile) {
    write({clinicRecord()});
    writeBytes(inputs / "plain", "x");
    try {
        Conv(inputs / "plain" / "out", inputText());
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(e.message().find(u"を作成できません"), std::u16string::npos);
    }
    EXPECT_EQ(listFolder(inputs.path()), (std::vector<std::string>{"in.UKE", "plain"}));
}

// The name comes from file content; it must never reach outside the program folder.
TEST_F(Anonymise, AMonthThatIsNoPlainFileNameIsRefusedAsAnError) {
    for (const std::u16string month : {u"../50611", u"a/b", u"x:y"}) {
        EXPECT_EQ(errorOn({clinicRecord(u"1", month)}), msg::invalidFileName(month + u"_1.UKE"));
        EXPECT_TRUE(listFolder(programFolder.path()).empty());
        EXPECT_EQ(listFolder(inputs.path()), std::vector<std::string>{"in.UKE"});
    }
}

TEST_F(Anonymise, AnOutputThatWouldReplaceItsOwnInputIsRefusedAsAnError) {
    const auto inFolder = programFolder / "50611_1.UKE";
    const std::string bytes = claimsBytes({clinicRecord()});
    writeBytes(inFolder, bytes);
    EXPECT_THROW(Conv(programFolder.path(), inFolder.u16string()), Error);
    EXPECT_EQ(readBytes(inFolder), bytes);
    EXPECT_EQ(listFolder(programFolder.path()), std::vector<std::string>{"50611_1.UKE"});
}

}  // namespace
}  // namespace vask::test
