// The search for identifying values: which values are searched for, left out or found.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/identifier_search.h"
#include "platform/cp932.h"

namespace vask {
namespace {

using K = IdentifierKind;

struct Value {
    K kind;
    std::u16string text;
    bool name;  // searched for inside fields (else as a whole field)
};

IdentifierSearch searchFor(const std::vector<Value>& values, const std::vector<std::u16string_view>& dummies = {}) {
    IdentifierSearch search(dummies);
    for (const auto& v : values) v.name ? search.addName(v.kind, v.text) : search.addNumber(v.kind, v.text);
    search.prepare();
    return search;
}

TEST(IdentifierSearch, FindsNumbersAsWholeFieldsAndNamesInsideFields) {
    const struct {
        Value value;
        std::u16string record;  // fields separated by commas
        bool found;
    } cases[] = {
        {{K::InsurerNumber, u" 06131234 ", false}, u"06131234", true},
        {{K::InsurerNumber, u"06131234", false}, u"  ０６１３１２３４\t", true},  // full width, trimmed
        {{K::InsurerNumber, u"06131234", false}, u"x06131234", false},            // numbers only whole
        {{K::InsurerNumber, u"06131234", false}, u"x, 06131234 ,y", true},        // a field of the record
        {{K::InsurerNumber, u"06131234", false}, u"0613,1234", false},
        {{K::PatientName, u"山田　太郎", true}, u"x山,田,太郎", true},
        {{K::PatientName, u"山田　太郎", true}, u"x山,田太,郎", false},  // no match across fields
        {{K::CardSymbol, u"ｱｲｳｴ", false}, u"アイウエ", true},
        {{K::PatientName, u"山田　太郎", true}, u"前回　山田　太郎様", true},
        {{K::PatientName, u"山田 太郎", true}, u"太郎くんの検査", true},  // a part of two characters
        {{K::PatientName, u"山田　太郎", true}, u"山", false},
        {{K::KanaName, u"ﾔﾏﾀﾞ ﾀﾛｳ", true}, u"ヤマダ", true},  // half-width kana widened, voiced mark joined
        {{K::KanaName, u"ヤマダ", true}, u"ﾔﾏﾀﾞさん", true},
        {{K::PatientName, u"李　明", true}, u"李　明", true},  // parts of one character: the whole name
        {{K::PatientName, u"李　明", true}, u"李明", false},
        {{K::ClinicName, u"医院 ABC", true}, u"ａｂｃ", false},  // no case folding
        {{K::ClinicName, u"医院 ABC", true}, u"ＡＢＣ", true},
        {{K::ClinicName, u"医院 ABC", true}, u"山,ABC", true},  // an ASCII field, the record not
    };
    // The record as text, and as the code page 932 bytes a claims file holds.
    for (const auto& c : cases) {
        auto search = searchFor({c.value});
        const KindSet expected = c.found ? kindBit(c.value.kind) : 0;
        EXPECT_EQ(search.find(c.record, u','), expected) << std::string(c.record.begin(), c.record.end());
        EXPECT_EQ(search.find(cp932::encode(c.record), ','), expected) << std::string(c.record.begin(), c.record.end());
    }
}

TEST(IdentifierSearch, OverlappingNamesAreAllFound) {
    auto search = searchFor({{K::PatientName, u"たなかはなこ", true},
                             {K::KanaName, u"なかは", true},
                             {K::ClinicName, u"かはな", true},
                             {K::PatientName, u"はなこ", true}});
    EXPECT_EQ(search.find(u"xたなかはなy", u','), kindBit(K::KanaName) | kindBit(K::ClinicName));
    EXPECT_EQ(search.find(u"なかはなこ", u','),
              kindBit(K::KanaName) | kindBit(K::ClinicName) | kindBit(K::PatientName));
}

TEST(IdentifierSearch, ShortValuesAndDummiesAreLeftOutAndCountedOnce) {
    auto search = searchFor(
        {
            {K::CardSymbol, u"123", false},              // too short
            {K::CardSymbol, u"１２３", false},           // the same value in full width
            {K::CardSymbol, u"1234", false},             // searched
            {K::CardNumber, u"12345", false},            // the dummy in half width
            {K::PatientName, u"李", true},               // too short
            {K::PatientName, u"　李　", true},           // the same
            {K::PatientName, u"テスト社１", true},       // a dummy
            {K::PatientName, u"山田", true},             // searched
            {K::PatientName, u"山田", true},             // counted once
            {K::ClinicName, u"クリニック　山田", true},  // its part クリニック stands inside a dummy
            {K::CardNumber, u"  ", false},               // blank: no value
        },
        {u"１２３４５", u"テスト社１", u"VELTクリニック"});
    const std::vector<KindTally> tallies = search.tallies();
    ASSERT_EQ(tallies.size(), 4u);
    const auto expect = [](const KindTally& t, K kind, size_t checked, size_t tooShort, size_t dummy) {
        EXPECT_EQ(t.kind, kind);
        EXPECT_EQ(t.checked, checked);
        EXPECT_EQ(t.tooShort, tooShort);
        EXPECT_EQ(t.dummy, dummy);
    };
    expect(tallies[0], K::ClinicName, 1, 0, 0);
    expect(tallies[1], K::PatientName, 1, 1, 1);
    expect(tallies[2], K::CardSymbol, 1, 1, 0);
    expect(tallies[3], K::CardNumber, 0, 0, 1);
    EXPECT_EQ(search.find(u"VELTクリニック", u','), 0);
    EXPECT_EQ(search.find(u"123", u','), 0);
    EXPECT_EQ(search.find(u"李", u','), 0);
    EXPECT_EQ(search.find(u"山田", u','), kindBit(K::PatientName) | kindBit(K::ClinicName));
}

}  // namespace
}  // namespace vask
