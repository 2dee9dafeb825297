// The report of the check of a claims file, as text lines.
#include <string>

#include "claims/claims_check.h"
#include "core/text.h"

namespace vask::claims {
namespace {

using What = ClaimsFinding::What;

std::u16string number(size_t n) { return fromAscii(std::to_string(n)); }

std::u16string problem(const ClaimsFinding& f) {
    switch (f.what) {
        case What::UnknownRecord:
            return u"記録条件仕様にないレコードです";
        case What::FieldCount: {
            const std::u16string layout =
                f.fewest == f.expected ? number(f.expected) : number(f.fewest) + u"または" + number(f.expected);
            return u"項目数が" + number(f.actual) + u"です（記録条件仕様では" + layout + u"）";
        }
        case What::Empty:
            return u"記録が必要な項目が空です";
        case What::NotDigits:
            return u"数字以外の文字があります";
        case What::NotOneByte:
            return u"英数（1バイト文字）以外の文字があります";
        case What::NotTwoByte:
            return u"漢字（2バイト文字）以外の文字があります";
        case What::MixedModes:
            return u"英数と漢字が混在しています";
        case What::TooLong:
            return number(f.expected) + u"バイトを超えています";
        case What::WrongLength:
            return number(f.expected) + u"バイトの固定長ではありません";
        case What::MonthAfterBilling:
            return u"請求年月より後の月です";
        case What::TotalClaims:
            return u"ファイルから数えた件数（" + number(f.expected) + u"）と一致しません";
        case What::TotalPoints:
            return u"ファイルから数えた点数（" + number(f.expected) + u"）と一致しません";
        case What::NoTotalsRecord:
            return u"GOレコード（診療報酬請求書レコード）がありません";
        case What::DoubleQuote:
            return u"ダブルクォーテーション（\"）があります（レセ電ファイルでは使えない文字です）";
    }
    return {};
}

}  // namespace

std::u16string claimsFindingLine(const ClaimsFinding& f) {
    std::u16string line = u"  ";
    if (f.line != 0) line += number(f.line) + u"行目 " + f.record + u"レコード";
    if (!f.field.empty()) line += u" " + f.field;
    if (f.line != 0) line += u": ";
    return line + problem(f);
}

namespace {

std::u16string totalsLine(const ClaimsCheckReport& report) {
    const std::u16string head = u"総件数・総合計点数（GOレコード）: ";
    switch (report.totals) {
        case TotalsCheck::Matched:
            return head + (report.pointsUnread ? u"総件数は一致しています（合計点数が読めないレセプトがあるため、"
                                                 u"総合計点数は確かめていません）"
                                               : u"ファイルのレセプトと一致しています");
        case TotalsCheck::Differed:
            return head + u"一致しません";
        case TotalsCheck::NotLastVolume:
            return head + u"最終ボリュームではないため確かめていません（最終ボリューム以外では記録しない項目です）";
        case TotalsCheck::LaterVolume:
            return head +
                   u"複数ボリュームの最終ボリュームで、全ボリュームの合計のため、このファイルだけでは確かめられません";
        case TotalsCheck::NoTotalsRecord:
            break;
    }
    return head + u"GOレコードがないため確かめていません";
}

}  // namespace

std::vector<std::u16string> claimsCheckLines(const ClaimsCheckReport& report) {
    std::vector<std::u16string> lines;
    lines.push_back(u"レセ電ファイルの確認（記録条件仕様: " + std::u16string(revisionLabel(report.revision)) + u"）");
    lines.push_back(u"レコード数");
    for (const auto& count : report.counts) lines.push_back(u"  " + count.record + u": " + number(count.count));
    lines.push_back(u"見つかった問題: " + number(report.findingCount) + u"件");
    for (const auto& finding : report.findings) lines.push_back(claimsFindingLine(finding));
    if (report.findingCount > report.findings.size()) {
        lines.push_back(u"  ほか " + number(report.findingCount - report.findings.size()) + u"件");
    }
    lines.push_back(totalsLine(report));
    lines.emplace_back(kClaimsCheckLeavesOut);
    lines.push_back(report.clean() ? u"結果: 問題はありません"
                                   : u"結果: 問題があります（" + number(report.findingCount) + u"件）");
    return lines;
}

}  // namespace vask::claims
