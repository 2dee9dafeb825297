#include "platform/errors.h"

#include "platform/paths.h"
#include "platform/utf.h"

namespace vask {

Error::Error(std::u16string message) : std::runtime_error(utf16ToUtf8(message)), message_(std::move(message)) {}

namespace msg {
namespace {

constexpr size_t kShownHalf = 160;  // units kept at each end of a shortened text

std::u16string aboutFile(std::u16string_view before, const std::filesystem::path& file, std::u16string_view after) {
    std::u16string text(before);
    text += u"\"";
    text += shownText(fromPath(file));
    text += u"\"";
    text += after;
    return text;
}

}  // namespace

std::u16string listIndexOutOfBounds(long long index) {
    return u"リストのインデックスが範囲を超えています (" + utf8ToUtf16(std::to_string(index)) + u")";
}

std::u16string rangeCheck() { return u"範囲チェックエラー"; }

std::u16string notAFloat(std::u16string_view value) {
    return u"'" + std::u16string(value) + u"' は浮動小数点数ではありません";
}

std::u16string cannotOpen(const std::filesystem::path& file) { return aboutFile(u"ファイル ", file, u" を開けません"); }

std::u16string cannotCreate(const std::filesystem::path& file) {
    return aboutFile(u"ファイル ", file, u" を作成できません");
}

std::u16string cannotWrite(const std::filesystem::path& file) {
    return aboutFile(u"ファイル ", file, u" に書き込めません");
}

std::u16string cannotDelete(const std::filesystem::path& file) {
    return aboutFile(u"ファイル ", file, u" を削除できません");
}

std::u16string cannotCreateFolder(const std::filesystem::path& folder) {
    return aboutFile(u"フォルダ ", folder, u" を作成できません");
}

std::u16string cryptoFailed(std::u16string_view operation, std::u16string_view reason) {
    std::u16string text = u"暗号ライブラリの処理に失敗しました（" + std::u16string(operation) + u"）";
    if (!reason.empty()) text += u"：" + std::u16string(reason);
    return text;
}

std::u16string invalidFileName(std::u16string_view name) {
    return u"ファイル名に使えない文字が含まれています：" + shownText(name);
}

std::u16string inputWouldBeReplaced(const std::filesystem::path& file) {
    return aboutFile(u"ファイル ", file, u" は入力ファイルのため上書きできません");
}

std::u16string programFileWouldBeReplaced(const std::filesystem::path& file) {
    return aboutFile(u"ファイル ", file, u" はプログラムのファイルのため上書きできません");
}

std::u16string notShiftJisText(const std::filesystem::path& file, size_t line) {
    std::u16string text = aboutFile(u"ファイル ", file, u" はShift-JISのテキストではありません");
    if (line > 0) text += u"（" + utf8ToUtf16(std::to_string(line)) + u"行目）";
    return text;
}

std::u16string shownText(std::u16string_view text) {
    std::u16string shown;
    auto append = [&shown](std::u16string_view part) {
        for (const char16_t c : part) {
            if (c < 0x20) {
                shown.push_back(static_cast<char16_t>(0x2400 + c));
            } else if (c == 0x7F) {
                shown.push_back(u'\u2421');
            } else {
                shown.push_back(c);
            }
        }
    };
    if (text.size() <= 2 * kShownHalf + 1) {
        append(text);
        return shown;
    }
    // Cut between code units that are no halves of one surrogate pair.
    size_t head = kShownHalf;
    if (text[head - 1] >= 0xD800 && text[head - 1] <= 0xDBFF) --head;
    size_t tail = text.size() - kShownHalf;
    if (text[tail] >= 0xDC00 && text[tail] <= 0xDFFF) ++tail;
    append(text.substr(0, head));
    shown += u"…";
    append(text.substr(tail));
    return shown;
}

}  // namespace msg

void throwListIndex(long long index) { throw Error(msg::listIndexOutOfBounds(index)); }

}  // namespace vask
