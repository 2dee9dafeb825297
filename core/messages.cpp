#include "core/messages.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::msg {

std::u16string created(std::u16string_view fileName) { return std::u16string(fileName) + u"が作成されました"; }

std::u16string lostCharacters(size_t count, const std::vector<size_t>& lines, bool more) {
    const auto number = [](size_t n) { return utf8ToUtf16(std::to_string(n)); };
    std::u16string text = u"警告：Shift-JISにない文字" + number(count) + u"文字を「?」で書き出しました";
    if (lines.empty()) return text;
    text += u"（出力の";
    for (size_t i = 0; i < lines.size(); ++i) text += (i ? u", " : u"") + number(lines[i]);
    text += more ? u"行目ほか）" : u"行目）";
    return text;
}

std::u16string cliSubmissionFindings(size_t count, std::u16string_view origin) {
    return u"警告: 提出用ファイルの点検で問題が" + utf8ToUtf16(std::to_string(count)) + u"件見つかりました（" +
           std::u16string(origin) + u"。vask-cli check-claims で確かめてください）";
}

std::u16string ff1FolderMissing(std::u16string_view folder) {
    return u"入力フォルダが見つかりません：" + std::u16string(folder);
}

std::u16string noFF1Files(std::u16string_view folder) {
    return u"G_FF1*.txt / G_FF1*.tsv が見つかりません：" + std::u16string(folder);
}

// The dates come from the files: shown with their control characters visible.
std::u16string appendDateDiffers(std::u16string_view baseDate, std::u16string_view appendDate) {
    return u"追記ファイルの診療年月日が異なります。元ファイル=" + shownText(baseDate) + u", 追記ファイル=" +
           shownText(appendDate);
}

std::u16string nothingToCheck(const std::filesystem::path& original) {
    return u"ファイル \"" + shownText(fromPath(original)) + u"\" には確認できるレコードがありません";
}

std::u16string badPseudonymKeyFile(const std::filesystem::path& file) {
    return u"仮名化の鍵ファイル \"" + shownText(fromPath(file)) +
           u"\" が正しくありません（64桁の16進数（0～9、a～f）1行の鍵ではありません）";
}

std::u16string recordNotPseudonymisable(std::u16string_view record, size_t line) {
    return u"仮名加工を中止しました：" + utf8ToUtf16(std::to_string(line)) + u"行目の" + std::u16string(record) +
           u"レコードは、中身の分からないレコードのため仮名加工できません（医科の記録条件仕様にないか、"
           u"項目の意味が分からないか、項目が多すぎます）。何も書き出していません";
}

std::u16string dateNotPseudonymisable(std::u16string_view record, std::u16string_view field, size_t line) {
    return u"仮名加工を中止しました：" + utf8ToUtf16(std::to_string(line)) + u"行目の" + std::u16string(record) +
           u"レコードの" + std::u16string(field) +
           u"が日付（YYYYMMDD または GYYMMDD）ではないため、年月だけにできません。何も書き出していません";
}

std::u16string errorBoxText(std::u16string_view message) {
    std::u16string text(message);
    if (!text.empty() && text.back() > u'.') text.push_back(u'.');
    return text;
}

}  // namespace vask::msg
