// The claims anonymisation by the pseudonymisation profile: what it does to each field the
// record layout says identifies a patient, on both calendars' layouts, and the records and
// values that stop it before it writes anything.
#include <gtest/gtest.h>

#include "claims/anonymise.h"
#include "claims_fixture.h"
#include "core/pseudonym.h"
#include "platform/errors.h"

namespace vask::test {
namespace {

std::string testKey() {
    std::string key;
    for (int i = 0; i < 32; ++i) key.push_back(static_cast<char>(i));
    return key;
}

// `n` empty fields, each after its comma.
std::u16string commas(int n) { return std::u16string(static_cast<size_t>(n), u','); }

class Pseudonymise : public ClaimsFiles {
protected:
    claims::ClaimsResult run(size_t length = kPseudonymLength) {
        ChartPseudonyms pseudonyms(testKey(), length);
        return claims::Conv(programFolder.path(), inputText(), &pseudonyms);
    }
    std::string runOn(const std::vector<std::u16string>& lines, std::string_view name) {
        write(lines);
        EXPECT_FALSE(run().outcome.isRefusal());
        return output(name);
    }
    // The message of the error a run on `lines` raises; nothing may be written.
    std::u16string errorOn(const std::vector<std::u16string>& lines, size_t length = kPseudonymLength) {
        write(lines);
        try {
            run(length);
        } catch (const Error& e) {
            EXPECT_TRUE(listFolder(programFolder.path()).empty());
            return e.message();
        }
        return u"(no error)";
    }
};

// A claim record of 38 fields: birth date (6), admission date (8), chart number (13),
// search number (18), 請求情報 (20), kana name (36) and 患者の状態 (37).
std::u16string claim(std::u16string_view birth, std::u16string_view admission, std::u16string_view chart) {
    return u"RE,1,1112,202406,山田　花子,2," + std::u16string(birth) + u",," + std::u16string(admission) + u",,,28,," +
           std::u16string(chart) + u",,,,,9876543210,,請求の文" + commas(15) + u",ﾔﾏﾀﾞ ﾊﾅｺ,001";
}

TEST_F(Pseudonymise, EachFieldThatIdentifiesAPatientOnTopOfTheWrittenReplacements) {
    const std::u16string days = u",1" + commas(30);
    const std::string out = runOn(
        {
            u"IR,1,13,1,7654321,,山田内科,202406,00,03-1111-2222",
            claim(u"19800115", u"20240603", u"00123-01"),
            u"HO,06131234,１２,３４５６,1,500,,,,,,1500,,,",
            u"KH,ABC 固有",
            u"SY,0000999,20240510,1,,右手の痛み,,自宅で転倒",
            u"SY,8833421,20240501,1,2057,,01,",
            u"SI,11,1,111000110,,288,1,830100001,検査のため,830100002,二回目,830100003,三回目" + days,
            u"IY,21,1,620098801,1.5,12,2,830100001,朝のみ,,,," + days,
            u"TO,40,1,730010000,2,15,1,019,150.00,,ガーゼ　１０ｃｍ,830100001,一枚,,,," + days,
            u"JD,1,1,,3",
            u"CO,,1,810000001,疼痛時",
            u"SJ,01,経過",
            u"",
            u"GO,1,500,99",
        },
        "202406_1.UKE");
    EXPECT_EQ(out, sjisLines({
                       u"IR,1,13,1,0123456,,VELTクリニック,202406,00,012-345-6789",
                       u"RE,1,1112,202406,テスト社１,2,19800101,,20240601,,,28,,AWWFIALZI0" + commas(24) + u"001",
                       u"HO,12345678,,１２３４５,1,500,,,,,,1500,,,",
                       u"KH,",
                       u"SY,0000999,20240510,1,,,,",
                       u"SY,8833421,20240501,1,2057,,01,",
                       u"SI,11,1,111000110,,288,1,830100001,,830100002,,830100003," + days,
                       u"IY,21,1,620098801,1.5,12,2,830100001,,,,," + days,
                       u"TO,40,1,730010000,2,15,1,019,150.00,,ガーゼ　１０ｃｍ,830100001,,,,," + days,
                       u"JD,1,1,,3",
                       u"",
                       u"GO,1,500,99",
                   }));
}

TEST_F(Pseudonymise, DatesKeepYearAndMonthInTheirOwnCalendar) {
    const std::string out = runOn({clinicRecord(u"2", u"50611"), claim(u"3550115", u"5060603", u"456"),
                                   claim(u"19800101", u"", u""), claim(u"3550101", u"20240601", u"ａ７")},
                                  "50611_2.UKE");
    const std::u16string tail = commas(24) + u"001";
    EXPECT_EQ(out, sjisLines({
                       u"IR,2,13,1,0123456,,VELTクリニック,50611,00,012-345-6789",
                       u"RE,1,1112,202406,テスト国１,2,3550101,,5060601,,,28,,CUDXQ72D0H" + tail,
                       u"RE,1,1112,202406,テスト国１,2,19800101,,,,,28,," + tail,
                       u"RE,1,1112,202406,テスト国１,2,3550101,,20240601,,,28,,Y8B92XRR53" + tail,
                   }));
}

TEST_F(Pseudonymise, WhatItCannotVouchForStopsTheRunWithoutWriting) {
    struct Case {
        std::u16string line;
        std::u16string message;
    };
    const Case cases[] = {
        {u"XX,1,2", u"2行目のXXレコードは"},                              // not of the medical layout
        {u"TR,1,00123", u"2行目のTRレコードは"},                          // known, fields not described
        {u"山田　花子,1", u"2行目の識別情報のないレコードは"},            // a line without an identifier
        {claim(u"19800115", u"", u"1") + u",x", u"2行目のREレコードは"},  // more fields than its layout
        {claim(u"198001", u"", u"1"), u"2行目のREレコードの生年月日が日付"},
        {claim(u"19800115", u"2024-06-03", u"1"), u"2行目のREレコードの入院年月日が日付"},
    };
    for (const auto& c : cases) {
        const std::u16string message = errorOn({clinicRecord(u"1", u"202406"), c.line});
        EXPECT_NE(message.find(c.message), std::u16string::npos) << std::string(message.begin(), message.end());
    }
}

TEST_F(Pseudonymise, TwoNumbersMeetingOnePseudonymStopTheRun) {
    // One character has 25 values: among 26 different patients two must share it.
    std::vector<std::u16string> lines = {clinicRecord(u"1", u"202406")};
    for (int n = 1; n <= 26; ++n) lines.push_back(claim(u"19800115", u"", fromSjis(std::to_string(n))));
    EXPECT_NE(errorOn(lines, 1).find(u"異なるカルテ番号が同じ仮名になりました"), std::u16string::npos);
}

}  // namespace
}  // namespace vask::test
