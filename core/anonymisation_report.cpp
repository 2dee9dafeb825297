#include "core/anonymisation_report.h"

#include <algorithm>
#include <string>

#include "core/text.h"

namespace vask {
namespace {

constexpr std::u16string_view kKindLabels[kIdentifierKindCount] = {
    u"医療機関コード",   u"医療機関名称",     u"電話番号",       u"患者氏名",       u"カタカナ氏名", u"保険者番号",
    u"被保険者証の記号", u"被保険者証の番号", u"公費負担者番号", u"公費受給者番号", u"カルテ番号",   u"生年月日",
    u"入院年月日",       u"検索番号",         u"自由記載の文字", u"郵便番号",
};

// The kinds grouped as the result window's short line names them.
constexpr std::u16string_view kKindGroups[kIdentifierKindCount] = {
    u"医療機関", u"医療機関", u"医療機関",   u"氏名",         u"氏名",         u"保険証",   u"保険証",   u"保険証",
    u"公費",     u"公費",     u"カルテ番号", u"生年月日の日", u"生年月日の日", u"検索番号", u"自由記載", u"郵便番号",
};

std::u16string number(size_t n) { return fromAscii(std::to_string(n)); }

// Appends `part` to a list joined by "・" unless it is there already.
void addOnce(std::u16string& list, std::u16string_view part) {
    for (size_t at = 0; at <= list.size();) {
        const size_t end = std::min(list.find(u'・', at), list.size());
        if (std::u16string_view(list).substr(at, end - at) == part) return;
        at = end + 1;
    }
    if (!list.empty()) list += u'・';
    list += part;
}

std::u16string countLabel(const RecordCount& count) {
    return count.record.empty() ? std::u16string(u"行") : count.record;
}

// The records of the original that the check does not know, joined by "・".
std::u16string uncheckedLabels(const AnonymisationReport& report) {
    std::u16string labels;
    for (const auto& count : report.counts) {
        if (!count.known && count.original > 0) addOnce(labels, countLabel(count));
    }
    return labels;
}

std::u16string joined(const std::vector<std::u16string>& parts) {
    std::u16string list;
    for (const auto& part : parts) addOnce(list, part);
    return list;
}

std::u16string nothingSearchedReason(const AnonymisationReport& report) {
    return report.kinds.empty() ? u"元のファイルの探す項目に値がありません"
                                : u"元のファイルの値はどれも短すぎるか、匿名化のダミー値と同じです";
}

void countLines(const AnonymisationReport& report, std::vector<std::u16string>& lines) {
    if (report.fileKind == AnonymisationReport::FileKind::FormOne) {
        for (const auto& count : report.counts) {
            lines.push_back(u"行数（元のファイル → 匿名化したファイル）: " + number(count.original) + u" → " +
                            number(count.anonymised) + (count.matches() ? u"" : u"　← 一致しません"));
        }
        return;
    }
    lines.push_back(u"レコード数（元のファイル → 匿名化したファイル）");
    for (const auto& count : report.counts) {
        std::u16string line = u"  " + count.record + u": " + number(count.original) + u" → " + number(count.anonymised);
        if (count.dropped) line += u"（匿名化で削除するレコード）";
        if (!count.known && count.original > 0) line += u"（確認していないレコード）";
        if (!count.matches()) line += u"　← 一致しません";
        lines.push_back(std::move(line));
    }
}

// What the check looks for, and what the anonymiser keeps on purpose.
void scopeLines(const AnonymisationReport& report, std::vector<std::u16string>& lines) {
    std::u16string sought;
    for (const auto kind : report.sought) addOnce(sought, kindLabel(kind));
    lines.push_back(u"探す識別情報: " + sought);
    lines.push_back(u"匿名化で残す識別情報（探しません）: " + joined(report.kept));
}

void kindLines(const AnonymisationReport& report, std::vector<std::u16string>& lines) {
    lines.push_back(u"探した識別情報（種類: 探した値の数、除外した値の数）");
    if (report.kinds.empty()) lines.push_back(u"  なし");
    for (const auto& kind : report.kinds) {
        lines.push_back(u"  " + std::u16string(kindLabel(kind.kind)) + u": 探した " + number(kind.checked) +
                        u"、除外 " + number(kind.tooShort + kind.dummy) + u"（短すぎる " + number(kind.tooShort) +
                        u"、ダミー値と同じ " + number(kind.dummy) + u"）");
    }
    lines.push_back(u"  短すぎる値: 名前は" + number(kShortestName) + u"文字未満、番号と記号は" +
                    number(kShortestNumber) + u"文字未満（どのファイルにもある短い値と区別できないため）");
    if (!report.searchedAny()) lines.push_back(u"探した値はありません: " + nothingSearchedReason(report));
    if (const size_t unchecked = report.uncheckedRecords(); unchecked > 0) {
        lines.push_back(u"確認していないレコード: " + number(unchecked) + u"件（" + uncheckedLabels(report) +
                        u"。匿名化が知らないレコードのため、中の氏名や番号は探していません）");
    }
}

// The fields the pseudonymisation profile's check looked at by position.
void positionLines(const AnonymisationReport& report, std::vector<std::u16string>& lines) {
    if (report.profile != AnonymisationProfile::Pseudonym) return;
    lines.push_back(report.fileKind == AnonymisationReport::FileKind::Claims
                        ? u"位置で確かめた項目（仮名のカルテ番号、日が01の日付、空の欄）"
                        : u"位置で確かめた項目（仮名のカルテ番号、空の氏名、上3桁だけの郵便番号）");
    if (report.positions.empty()) lines.push_back(u"  なし");
    for (const auto& position : report.positions) {
        lines.push_back(u"  " + std::u16string(kindLabel(position.kind)) + u": " + number(position.checked) + u"件");
    }
}

std::u16string resultLine(const AnonymisationReport& report) {
    if (!report.countsMatch() || !report.nothingSurvives()) return u"結果: 問題があります";
    if (report.uncheckedRecords() > 0) return u"結果: 確認していないレコードがあります";
    return u"結果: 問題はありません";
}

std::u16string findingLine(const Finding& finding) {
    std::u16string line = u"  " + number(finding.line) + u"行目";
    if (!finding.record.empty()) line += u" " + finding.record + u"レコード";
    line += u": ";
    line += kindLabel(finding.kind);
    switch (finding.what) {
        case Finding::What::Survives:
            return line + u"が残っています";
        case Finding::What::FieldFilled:
            return line + u"の欄が空ではありません";
        case Finding::What::NotPseudonym:
            return line + u"が仮名になっていません";
        case Finding::What::PseudonymsDisagree:
            return line + u"と仮名が一対一に対応していません";
        case Finding::What::DayKept:
            return line + u"の日が01ではありません";
        case Finding::What::PostalCodeKept:
            return line + u"の4桁目以降が0ではありません";
    }
    return line;
}

// One file's part of the result window's tooltip.
std::u16string fileDetail(const CheckedFile& file) {
    const AnonymisationReport& report = file.report;
    std::u16string detail = file.name + u":";
    if (report.clean()) detail += u" 問題はありません";
    for (const auto& count : report.counts) {
        if (count.matches()) continue;
        detail += u"\n  " + countLabel(count) + u"の数: " + number(count.original) + u" → " + number(count.anonymised);
    }
    for (const auto& count : report.counts) {
        if (count.known || count.original == 0) continue;
        detail += u"\n  " + countLabel(count) + u"レコード " + number(count.original) + u"件: 確認していません";
    }
    for (const auto& finding : report.findings) detail += u"\n" + findingLine(finding);
    if (report.findingCount > report.findings.size()) {
        detail += u"\n  ほか " + number(report.findingCount - report.findings.size()) + u"件";
    }
    return detail;
}

// The kinds whose values were searched for, in full and in the short line's groups, and
// what the anonymiser keeps, over all files.
struct Scope {
    AnonymisationProfile profile = AnonymisationProfile::Written;
    std::u16string searched;
    std::u16string positions;  // the kinds looked at by position
    std::u16string groups;
    std::u16string kept;
    std::u16string firstKept;
    std::u16string nothingSearched;  // why, when no value was searched for
};

Scope scopeOf(const std::vector<CheckedFile>& files) {
    Scope scope;
    for (const auto& file : files) {
        for (const auto& tally : file.report.kinds) {
            if (tally.checked == 0) continue;
            addOnce(scope.searched, kindLabel(tally.kind));
            addOnce(scope.groups, kKindGroups[static_cast<size_t>(tally.kind)]);
        }
        for (const auto& position : file.report.positions) {
            if (position.checked == 0) continue;
            addOnce(scope.positions, kindLabel(position.kind));
            addOnce(scope.groups, kKindGroups[static_cast<size_t>(position.kind)]);
        }
        scope.profile = file.report.profile;
        for (const auto& item : file.report.kept) addOnce(scope.kept, item);
        if (scope.firstKept.empty() && !file.report.kept.empty()) scope.firstKept = file.report.kept.front();
        if (!file.report.searchedAny() && scope.nothingSearched.empty()) {
            scope.nothingSearched = nothingSearchedReason(file.report);
        }
    }
    return scope;
}

std::u16string warningLine(const std::vector<CheckedFile>& files) {
    std::u16string kinds;
    std::u16string unprocessed;  // fields not in the form the profile gives them
    std::u16string records;
    std::u16string unchecked;
    for (const auto& file : files) {
        for (const auto& finding : file.report.findings) {
            const bool survives = finding.what == Finding::What::Survives || finding.what == Finding::What::FieldFilled;
            addOnce(survives ? kinds : unprocessed, kindLabel(finding.kind));
        }
        for (const auto& count : file.report.counts) {
            if (!count.matches()) addOnce(records, countLabel(count));
            if (!count.known && count.original > 0) addOnce(unchecked, countLabel(count));
        }
    }
    std::u16string line = u"警告：";
    bool first = true;
    const auto add = [&](std::u16string_view what, const std::u16string& list) {
        if (list.empty()) return;
        if (!first) line += u"、";
        first = false;
        line += what;
        line += u"（" + list + u"）";
    };
    add(u"元の値が残っています", kinds);
    add(u"仮名加工されていない項目があります", unprocessed);
    add(u"数が一致しません", records);
    add(u"確認していないレコードがあります", unchecked);
    return line;
}

}  // namespace

CheckSummary summarizeChecks(const std::vector<CheckedFile>& files) {
    CheckSummary summary;
    for (const auto& file : files) {
        summary.clean = summary.clean && file.report.clean();
        summary.detail += (summary.detail.empty() ? u"" : u"\n") + fileDetail(file);
    }
    const Scope scope = scopeOf(files);
    summary.detail +=
        u"\n探した識別情報: " + (scope.searched.empty() ? u"なし（" + scope.nothingSearched + u"）" : scope.searched);
    if (!scope.positions.empty()) summary.detail += u"\n位置で確かめた項目: " + scope.positions;
    summary.detail += u"\n匿名化で残す識別情報（探していません）: " + scope.kept;
    summary.detail += u"\n匿名化の方式: " + std::u16string(profileLabel(scope.profile));
    if (!summary.clean) {
        summary.line = warningLine(files);
        return summary;
    }
    // What was proved first, so that it stays readable when the line is cut.
    const std::u16string kept = scope.firstKept.empty() ? u"" : scope.firstKept + u"などは残ります";
    const std::u16string checked = scope.profile == AnonymisationProfile::Pseudonym ? u"確認（仮名加工）：" : u"確認：";
    summary.line = scope.groups.empty() ? checked + u"元のファイルに探す値がありません（" + kept + u"）"
                                        : checked + u"探した値は残っていません（" + scope.groups + u"。" + kept + u"）";
    return summary;
}

std::u16string_view kindLabel(IdentifierKind kind) { return kKindLabels[static_cast<size_t>(kind)]; }

void AnonymisationReport::addFinding(Finding finding) {
    ++findingCount;
    if (findings.size() < kListedFindings) findings.push_back(std::move(finding));
}

bool AnonymisationReport::countsMatch() const {
    return std::all_of(counts.begin(), counts.end(), [](const RecordCount& c) { return c.matches(); });
}

size_t AnonymisationReport::uncheckedRecords() const {
    size_t unchecked = 0;
    for (const auto& count : counts) unchecked += count.known ? 0 : count.original;
    return unchecked;
}

bool AnonymisationReport::searchedAny() const {
    return std::any_of(kinds.begin(), kinds.end(), [](const KindTally& k) { return k.checked > 0; });
}

std::vector<std::u16string> reportLines(const AnonymisationReport& report) {
    std::vector<std::u16string> lines;
    const bool claims = report.fileKind == AnonymisationReport::FileKind::Claims;
    // The written profile's report begins as it always has; the other names its profile.
    std::u16string title = u"匿名化の確認（" + std::u16string(claims ? u"レセ電ファイル" : u"FFファイル");
    if (report.profile != AnonymisationProfile::Written) title += u"、" + std::u16string(profileLabel(report.profile));
    lines.push_back(title + u"）");
    countLines(report, lines);
    scopeLines(report, lines);
    kindLines(report, lines);
    positionLines(report, lines);
    lines.push_back(u"残っていた識別情報: " + number(report.findingCount) + u"件");
    for (const auto& finding : report.findings) lines.push_back(findingLine(finding));
    if (report.findingCount > report.findings.size()) {
        lines.push_back(u"  ほか " + number(report.findingCount - report.findings.size()) + u"件");
    }
    lines.push_back(resultLine(report));
    return lines;
}

void countPosition(IdentifierKind kind, AnonymisationReport& report) {
    auto& positions = report.positions;
    auto it =
        std::find_if(positions.begin(), positions.end(), [kind](const PositionTally& t) { return t.kind == kind; });
    if (it == positions.end()) {
        it = positions.insert(
            std::find_if(positions.begin(), positions.end(), [kind](const PositionTally& t) { return t.kind > kind; }),
            PositionTally{kind, 0});
    }
    ++it->checked;
}

std::vector<std::u16string> keptByPseudonymProfile(AnonymisationReport::FileKind fileKind) {
    if (fileKind == AnonymisationReport::FileKind::FormOne) {
        return {u"郵便番号の上3桁", u"傷病名", u"検査値などの診療の記録"};
    }
    return {u"生年月日の年月", u"性別", u"診療日", u"コード（傷病名・診療行為・医薬品・コメント）"};
}

void reportSurvivors(KindSet found, std::u16string_view record, size_t line, AnonymisationReport& report) {
    for (size_t k = 0; found != 0 && k < kIdentifierKindCount; ++k) {
        const auto kind = static_cast<IdentifierKind>(k);
        if ((found & kindBit(kind)) == 0) continue;
        report.addFinding({Finding::What::Survives, kind, std::u16string(record), line});
        found = static_cast<KindSet>(found & ~kindBit(kind));
    }
}

}  // namespace vask
