// The claims file the claims benchmarks run on, generated afresh for each run.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"
#include "platform/cp932.h"

namespace vask::bench {

// A claims file of one clinic and month: the IR record, then claims with the usual mix
// of records (RE, HO, KO, SN, diagnoses, treatments, drugs, details and comments).
class ClaimsGenerator {
public:
    void write(const std::filesystem::path& file, size_t bytes) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        line(u"IR,1,13,1,1234567,,山田内科クリニック,50611,00,03-1234-5678");
        for (int claim = 1; written_ + buffer_.size() < bytes; ++claim) {
            addClaim(claim);
            if (buffer_.size() > (1u << 20)) flush(out);
        }
        buffer_ += '\x1A';
        flush(out);
    }

private:
    void line(std::u16string_view text) {
        vask::cp932::encodeAppend(text, buffer_);
        buffer_ += "\r\n";
    }
    void flush(std::ofstream& out) {
        out.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        written_ += buffer_.size();
        buffer_.clear();
    }
    const std::u16string& pick(const std::vector<std::u16string>& items) { return items[random_() % items.size()]; }
    std::u16string number(int digits) {
        std::u16string text;
        for (int i = 0; i < digits; ++i) text.push_back(static_cast<char16_t>(u'0' + random_() % 10));
        return text;
    }

    void addClaim(int claim) {
        const std::u16string n = vask::fromAscii(std::to_string(claim));
        std::u16string re = u"RE," + n + u",1112,50611," + pick(kNames) + u",1,3" + number(7) + u",,,,,,,";
        re += number(5) + pick(kBranches);  // field 13: the chart number
        for (int f = 14; f < 36; ++f) re += f % 5 == 0 ? u"," : u",0";
        re += u"," + pick(kKana) + u",";
        line(re);
        line(u"HO,0613" + number(4) + u"," + pick(kSymbols) + u"," + number(6) + u",1,30,,,,");
        if (random_() % 4 == 0) line(u"KO,8013" + number(4) + u"," + number(7) + u",,1,30,,,,");
        line(u"SN,1,01,0613" + number(4) + u"," + pick(kSymbols) + u"," + number(6) + u",01,");
        for (int i = 0, k = 1 + static_cast<int>(random_() % 4); i < k; ++i) {
            line(u"SY,88" + number(5) + u",5061001,,01,,," + pick(kDiseases) + u",");
        }
        for (int i = 0, k = 3 + static_cast<int>(random_() % 8); i < k; ++i) {
            line(u"SI,11,1,1120" + number(5) + u",,,1,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,");
            line(u"IY,21,1,6104" + number(5) + u"," + number(1) + u",,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,");
        }
        if (random_() % 3 == 0) line(u"SJ,01," + pick(kDetails));
        if (random_() % 2 == 0) line(u"CO,,,8201" + number(5) + u"," + pick(kComments));
    }

    inline static const std::vector<std::u16string> kNames = {u"山田　太郎", u"髙橋　花子", u"佐藤 一郎", u"鈴木　次郎",
                                                              u"渡邊　美咲"};
    inline static const std::vector<std::u16string> kKana = {u"ﾔﾏﾀﾞ ﾀﾛｳ", u"ﾀｶﾊｼ ﾊﾅｺ", u"ｻﾄｳ ｲﾁﾛｳ", u"ｽｽﾞｷ ｼﾞﾛｳ"};
    inline static const std::vector<std::u16string> kBranches = {u"", u"-01", u"*0", u"/2", u"-1"};
    inline static const std::vector<std::u16string> kSymbols = {u"記号", u"１２３", u"ｱｲｳ", u""};
    inline static const std::vector<std::u16string> kDiseases = {u"高血圧症", u"２型糖尿病", u"脂質異常症",
                                                                 u"急性上気道炎"};
    inline static const std::vector<std::u16string> kDetails = {
        u"令和５年４月より血圧のコントロール不良のため投薬を変更した。経過観察中。",
        u"症状詳記：\"検査\"の結果、腎機能の低下を認める。"};
    inline static const std::vector<std::u16string> kComments = {u"初診時の検査", u"再検査のため（前回 ５月１日）"};

    std::mt19937 random_{20240611};
    std::string buffer_;
    size_t written_ = 0;
};

}  // namespace vask::bench
