#include "platform/errors.h"

#include "platform/paths.h"
#include "platform/utf.h"

namespace vask {

Error::Error(std::u16string message) : std::runtime_error(utf16ToUtf8(message)), message_(std::move(message)) {}

namespace msg {
namespace {

std::u16string aboutFile(std::u16string_view before, const std::filesystem::path& file, std::u16string_view after) {
    std::u16string text(before);
    text += u"\"";
    text += fromPath(file);
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

std::u16string invalidFileName(std::u16string_view name) {
    return u"ファイル名に使えない文字が含まれています：" + std::u16string(name);
}

}  // namespace msg

void throwListIndex(long long index) { throw Error(msg::listIndexOutOfBounds(index)); }

}  // namespace vask

namespace vask {

std::u16string errorBoxText(std::u16string_view message) {
    std::u16string text(message);
    if (!text.empty() && text.back() > u'.') text.push_back(u'.');
    return text;
}

}  // namespace vask
