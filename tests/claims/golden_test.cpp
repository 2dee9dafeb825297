// Both claims tools on a generated national-insurance claims file of a few hundred claims.
// The expected outputs are built beside the input, record by record, from what each tool
// must do to each field, with this file's own joining rules.
#include <gtest/gtest.h>

#include <random>

#include "claims/anonymise.h"
#include "claims/branch_number.h"
#include "claims_fixture.h"

namespace vask::test {
namespace {

using Fields = std::vector<std::u16string>;

bool needsQuotes(const std::u16string& field) {
    for (char16_t c : field) {
        if ((c >= 1 && c <= 0x20) || c == u'"' || c == u',') return true;
    }
    return false;
}

// Fields joined with commas, a field with a blank, a control character, a quote or a
// comma enclosed in quotes.
std::u16string quotedJoin(const Fields& fields) {
    std::u16string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += u',';
        line += needsQuotes(fields[i]) ? u"\"" + fields[i] + u"\"" : fields[i];
    }
    return line;
}

std::u16string plainJoin(const Fields& fields) {
    std::u16string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i > 0 ? u"," : u"") + fields[i];
    return line;
}

std::u16string wideDigits(int number) {
    std::u16string text;
    for (char c : std::to_string(number)) text.push_back(static_cast<char16_t>(u'０' + (c - '0')));
    return text;
}

std::u16string digits(std::mt19937& random, int count) {
    std::u16string text;
    for (int i = 0; i < count; ++i) text.push_back(static_cast<char16_t>(u'0' + random() % 10));
    return text;
}

template <typename T>
const T& pick(std::mt19937& random, const std::vector<T>& items) {
    return items[random() % items.size()];
}

struct Expected {
    std::vector<std::u16string> input;
    std::vector<std::u16string> anonymised;
    std::vector<std::u16string> stripped;

    // A record whose line no tool touches.
    void untouched(const std::u16string& line, bool dropByAnonymiser = false) {
        input.push_back(line);
        if (!dropByAnonymiser) anonymised.push_back(line);
        stripped.push_back(line);
    }
};

struct Chart {
    std::u16string written;
    std::u16string cut;
};

Expected generate(int claims) {
    std::mt19937 random(611);
    Expected e;
    const Fields ir = {u"IR",    u"2",  u"13",           u"1",        u"1234567", u"", u"山田 内科",
                       u"50611", u"00", u"03-1234-5678", u"備考 あり"};
    e.input.push_back(u"IR,\"2\",13,1,1234567,,\"山田 内科\",50611,00,03-1234-5678,備考 あり");
    Fields irOut = ir;
    irOut[4] = u"0123456";
    irOut[6] = u"VELTクリニック";
    irOut[9] = u"012-345-6789";
    e.anonymised.push_back(quotedJoin(irOut));
    e.stripped.push_back(e.input.back());

    const std::vector<std::u16string> names = {u"山田　太郎", u"佐藤 一郎", u"髙橋　花子", u"渡邊 美咲"};
    const std::vector<std::u16string> kana = {u"ﾔﾏﾀﾞ ﾀﾛｳ", u"ｻﾄｳ ｲﾁﾛｳ", u"ﾀｶﾊｼ ﾊﾅｺ"};
    const std::vector<Chart> branches = {{u"", u""},    {u"-01", u""}, {u"*0", u""},    {u"/2", u""},
                                         {u"*02", u""}, {u" -1", u""}, {u"－1", u"－1"}};
    const std::vector<std::u16string> symbols = {u"記号", u"１２３", u"ｱｲｳ ｴ", u""};
    for (int claim = 1; claim <= claims; ++claim) {
        const std::u16string number = fromSjis(std::to_string(claim));
        const Chart& branch = pick(random, branches);
        const std::u16string base = digits(random, 7);
        Fields re = {u"RE", number, u"1112", u"50611", pick(random, names), u"1", u"3" + digits(random, 6)};
        while (re.size() < 13) re.push_back(u"");
        re.push_back(base + branch.written);
        while (re.size() < 36) re.push_back(re.size() % 4 == 0 ? u"" : digits(random, 2));
        re.push_back(pick(random, kana));
        re.push_back(u"");
        // The name is sometimes quoted in the file; the split drops the quotes.
        Fields reIn = re;
        if (claim % 3 == 0) reIn[4] = u"\"" + re[4] + u"\"";
        e.input.push_back(plainJoin(reIn));
        Fields anonymised = re;
        anonymised[4] = u"テスト国" + wideDigits(claim);
        anonymised[36] = u"";
        e.anonymised.push_back(plainJoin(anonymised));
        Fields stripped = re;
        stripped[13] = base + branch.cut;
        e.stripped.push_back(plainJoin(stripped));  // no quotes around a name with a blank

        const std::u16string insurer = u"0613" + digits(random, 4);
        const std::u16string symbol = pick(random, symbols);
        const std::u16string card = digits(random, 6);
        e.input.push_back(u"HO," + insurer + u"," + symbol + u"," + card + u",1,30,,,");
        e.anonymised.push_back(quotedJoin({u"HO", u"12345678", u"", u"１２３４５", u"1", u"30", u"", u"", u""}));
        e.stripped.push_back(e.input.back());
        if (claim % 4 == 0) {
            e.input.push_back(u"KO,8013" + digits(random, 4) + u"," + digits(random, 7) + u",,1,30");
            e.anonymised.push_back(u"KO,12345678,1234567,,1,30");
            e.stripped.push_back(e.input.back());
        }
        e.input.push_back(u"SN,1,01," + insurer + u"," + symbol + u"," + card + u",01,");
        e.anonymised.push_back(quotedJoin({u"SN", u"1", u"01", u"12345678", u"", u"１２３４５", u"00", u""}));
        e.stripped.push_back(e.input.back());
        for (int i = 0; i < 1 + claim % 3; ++i)
            e.untouched(u"SY,88" + digits(random, 5) + u",5061001,,01,,,\"主 病\",");
        for (int i = 0; i < 2 + claim % 5; ++i) {
            e.untouched(u"SI,11,1,1120" + digits(random, 5) + u",,,1,,,,");
            e.untouched(u"IY,21,1,6104" + digits(random, 5) + u"," + digits(random, 1) + u",,,");
        }
        if (claim % 5 == 0) e.untouched(u"SJ,01,症状詳記 \"検査\" の結果、経過観察中。", true);
        if (claim % 2 == 0) e.untouched(u"CO,,,8201" + digits(random, 5) + u",再検査のため（前回, ５月１日）", true);
        if (claim % 50 == 0) e.untouched(u"");
    }
    return e;
}

// The lines of an output, each of which must end with CR LF.
std::vector<std::u16string> outputLines(const std::string& bytes) {
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(fromSjis(bytes.substr(start, end - start)));
    }
    EXPECT_EQ(start, bytes.size()) << "the output does not end with CR LF";
    return lines;
}

class Golden : public ClaimsFiles {};

TEST_F(Golden, EveryOutputByteOfBothToolsOnAFileOfThreeHundredClaims) {
    const Expected e = generate(300);
    write(e.input);
    const std::string before = readBytes(input());

    const auto anonymised = claims::Conv(programFolder.path(), inputText());
    ASSERT_EQ(anonymised.fileName, u"50611_2.UKE");
    const std::string anonymisedBytes = output("50611_2.UKE");
    EXPECT_EQ(outputLines(anonymisedBytes), e.anonymised);  // line by line, to show where
    EXPECT_TRUE(anonymisedBytes == sjisLines(e.anonymised));

    const auto stripped = claims::Conv2(programFolder.path(), inputText(), claims::BranchMode::Symbols, u"", u"");
    ASSERT_EQ(stripped.fileName, u"(50611提出_国保)RECEIPTC.uke");
    const std::string strippedBytes = output("(50611提出_国保)RECEIPTC.uke");
    EXPECT_EQ(outputLines(strippedBytes), e.stripped);
    EXPECT_TRUE(strippedBytes == sjisLines(e.stripped));
    EXPECT_GT(e.input.size(), 3000u);
    EXPECT_EQ(readBytes(input()), before);
}

}  // namespace
}  // namespace vask::test
