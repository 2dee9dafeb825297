// The claims file the claims benchmarks run on, generated afresh for each run.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bench_support.h"
#include "core/text.h"
#include "platform/cp932.h"

namespace vask::bench {

// A claims file of one clinic and month in the current record layout (Western dates),
// every record with the layout's field count and every field of its mode and length, so
// that it is the clean file a clinic's system writes: the IR record, then claims with the
// usual mix of records (RE, HO, KO, SN, diagnoses, treatments with comments, drugs,
// materials, details and comments), then the GO record with the file's totals.
class ClaimsGenerator {
public:
    void write(const std::filesystem::path& file, size_t bytes) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        line(u"IR,1,13,1,1234567,,山田内科クリニック,202406,00,0312345678");
        for (int claim = 1; written_ + buffer_.size() < bytes; ++claim) {
            addClaim(claim);
            if (buffer_.size() > (1u << 20)) flush(out);
        }
        line(u"GO," + count(claims_) + u"," + count(points_) + u",99");
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
    static std::u16string count(unsigned long long n) { return vask::fromAscii(std::to_string(n)); }
    // `n` empty fields, each after its comma.
    static std::u16string empties(int n) { return std::u16string(static_cast<size_t>(n), u','); }
    // The 31 day fields of a treatment record, treated on one day.
    std::u16string dayFields() {
        const int day = static_cast<int>(random_() % 28);
        return empties(day) + u",1" + empties(30 - day);
    }
    // Comment code and text of a treatment, on about one record in eight.
    std::u16string comment() {
        if (random_() % 8 != 0) return u",,,,,,";
        return u",8100000" + number(2) + u"," + pick(kComments) + u",,,,";
    }

    void addClaim(int claim) {
        const std::u16string n = count(static_cast<unsigned long long>(claim));
        std::u16string re = u"RE," + n + u",1112,202406," + pick(kNames) + u",1,19" + number(2) + u"0" +
                            count(1 + random_() % 9) + u"1" + count(random_() % 9) + u",,,,,,,";
        re += number(5) + pick(kBranches);   // field 13: the chart number
        re += u",,,,," + number(8) + u",,";  // field 18: the search number
        re += empties(15) + u"," + pick(kKana) + u",";
        line(re);
        const int days = 1 + static_cast<int>(random_() % 4);
        const unsigned long long total = 100 + random_() % 5000;
        line(u"HO,0613" + number(4) + u"," + pick(kSymbols) + u"," + number(6) + u"," + count(days) + u"," +
             count(total) + u",,,,,,,,,");
        ++claims_;
        points_ += total;
        if (random_() % 4 == 0) {
            line(u"KO,8013" + number(4) + u"," + number(7) + u",," + count(days) + u"," + count(total) + u",,,,,,");
            ++claims_;
        }
        line(u"SN,1,01,0613" + number(4) + u"," + pick(kSymbols) + u"," + number(6) + u",01,,");
        for (int i = 0, k = 1 + static_cast<int>(random_() % 4); i < k; ++i) {
            if (random_() % 6 == 0) {
                line(u"SY,0000999,20240601,1,," + pick(kDiseases) + u",,");
            } else {
                line(u"SY,88" + number(5) + u",20240601,1,,,01," + (random_() % 5 == 0 ? u"左" : u""));
            }
        }
        for (int i = 0, k = 3 + static_cast<int>(random_() % 8); i < k; ++i) {
            line(u"SI,11,1,1120" + number(5) + u",," + count(1 + random_() % 300) + u",1" + comment() + dayFields());
            line(u"IY,21,1,6104" + number(5) + u"," + number(1) + u"," + count(1 + random_() % 100) + u",1" +
                 comment() + dayFields());
        }
        if (random_() % 10 == 0) {
            line(u"TO,40,1,7000" + number(5) + u",1," + count(1 + random_() % 100) + u",1,001,100,," + comment() +
                 dayFields());
        }
        if (random_() % 3 == 0) line(u"SJ,01," + pick(kDetails));
        if (random_() % 2 == 0) line(u"CO,,1,8201" + number(5) + u"," + pick(kComments));
    }

    inline static const std::vector<std::u16string> kNames = {u"山田　太郎", u"髙橋　花子", u"佐藤　一郎",
                                                              u"鈴木　次郎", u"渡邊　美咲", u"ﾔﾏﾀﾞ ﾀﾛｳ"};
    inline static const std::vector<std::u16string> kKana = {u"ヤマダ　タロウ", u"タカハシ　ハナコ",
                                                             u"サトウ　イチロウ", u"スズキ　ジロウ"};
    inline static const std::vector<std::u16string> kBranches = {u"", u"-01", u"*0", u"/2", u"-1"};
    inline static const std::vector<std::u16string> kSymbols = {u"記号", u"１２３", u"ｱｲｳ", u""};
    inline static const std::vector<std::u16string> kDiseases = {u"高血圧症の疑い", u"右膝の痛み", u"不眠",
                                                                 u"急性上気道炎"};
    inline static const std::vector<std::u16string> kDetails = {
        u"令和６年４月より血圧のコントロール不良のため投薬を変更した。経過観察中。",
        u"症状詳記：検査の結果、腎機能の低下を認める。"};
    inline static const std::vector<std::u16string> kComments = {u"初診時の検査", u"再検査のため（前回　５月１日）"};

    std::mt19937 random_{20240611};
    std::string buffer_;
    size_t written_ = 0;
    unsigned long long claims_ = 0;
    unsigned long long points_ = 0;
};

// A claims benchmark's file and its runs: the size in MB is the program's first argument
// (default 100), the number of runs its second (default `defaultRuns`); the file is
// generated into a scratch folder of `name`.
struct ClaimsBenchFile {
    std::filesystem::path folder;
    std::filesystem::path input;
    double mib = 0;
    int runs = 0;
};
inline ClaimsBenchFile generateClaimsBenchFile(const std::string& name, int argc, char** argv, int defaultRuns) {
    const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
    ClaimsBenchFile bench;
    bench.runs = argc > 2 ? std::atoi(argv[2]) : defaultRuns;
    bench.folder = scratchFolder(name);
    bench.input = bench.folder / "claims.UKE";
    ClaimsGenerator().write(bench.input, megabytes << 20);
    bench.mib = static_cast<double>(std::filesystem::file_size(bench.input)) / (1 << 20);
    return bench;
}

}  // namespace vask::bench
