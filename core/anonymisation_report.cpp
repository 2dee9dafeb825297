#include "core/anonymisation_report.h"

#include <algorithm>
#include <string>

#include "core/identifier_search.h"
#include "core/text.h"

namespace vask {
namespace {

constexpr std::u16string_view kKindLabels[kIdentifierKindCount] = {
    u"医療機関コード", u"医療機関名称",     u"電話番号",         u"患者氏名",       u"カタカナ氏名",
    u"保険者番号",     u"被保険者証の記号", u"被保険者証の番号", u"公費負担者番号", u"公費受給者番号",
};

std::u16string number(size_t n) { return fromAscii(std::to_string(n)); }

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
        if (!count.matches()) line += u"　← 一致しません";
        lines.push_back(std::move(line));
    }
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
}

std::u16string findingLine(const Finding& finding) {
    std::u16string line = u"  " + number(finding.line) + u"行目";
    if (!finding.record.empty()) line += u" " + finding.record + u"レコード";
    line += u": ";
    line += kindLabel(finding.kind);
    line += finding.what == Finding::What::Survives ? u"が残っています" : u"の欄が空ではありません";
    return line;
}

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

}  // namespace

CheckSummary summarizeChecks(const std::vector<CheckedFile>& files) {
    CheckSummary summary;
    std::u16string kinds;
    std::u16string records;
    for (const auto& file : files) {
        summary.clean = summary.clean && file.report.clean();
        for (const auto& finding : file.report.findings) addOnce(kinds, kindLabel(finding.kind));
        for (const auto& count : file.report.counts) {
            if (!count.matches()) addOnce(records, count.record.empty() ? u"行" : std::u16string_view(count.record));
        }
        summary.detail += (summary.detail.empty() ? u"" : u"\n") + file.name + u":";
        if (file.report.clean()) summary.detail += u" 問題はありません";
        for (const auto& count : file.report.counts) {
            if (count.matches()) continue;
            summary.detail += u"\n  " + (count.record.empty() ? std::u16string(u"行") : count.record) + u"の数: " +
                              number(count.original) + u" → " + number(count.anonymised);
        }
        for (const auto& finding : file.report.findings) summary.detail += u"\n" + findingLine(finding);
        if (file.report.findingCount > file.report.findings.size()) {
            summary.detail += u"\n  ほか " + number(file.report.findingCount - file.report.findings.size()) + u"件";
        }
    }
    if (summary.clean) {
        summary.line = u"確認：元の氏名・番号などは出力に残っていません";
        return summary;
    }
    summary.line = u"警告：";
    if (!kinds.empty()) summary.line += u"元の値が残っています（" + kinds + u"）";
    if (!records.empty()) summary.line += (kinds.empty() ? u"" : u"、") + (u"数が一致しません（" + records + u"）");
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

std::vector<std::u16string> reportLines(const AnonymisationReport& report) {
    std::vector<std::u16string> lines;
    lines.push_back(report.fileKind == AnonymisationReport::FileKind::Claims ? u"匿名化の確認（レセ電ファイル）"
                                                                             : u"匿名化の確認（FFファイル）");
    countLines(report, lines);
    kindLines(report, lines);
    lines.push_back(u"残っていた識別情報: " + number(report.findingCount) + u"件");
    for (const auto& finding : report.findings) lines.push_back(findingLine(finding));
    if (report.findingCount > report.findings.size()) {
        lines.push_back(u"  ほか " + number(report.findingCount - report.findings.size()) + u"件");
    }
    lines.push_back(report.clean() ? u"結果: 問題はありません" : u"結果: 問題があります");
    return lines;
}

}  // namespace vask
