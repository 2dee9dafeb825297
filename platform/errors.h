// The one error type of the program and the few platform texts that users see.
//
// An Error carries the message exactly as the general error message box shows it
// (before the box adds its full stop). Expected refusals ("ファイルがありません。") are
// not errors: operations return them as outcomes.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vask {

class Error : public std::runtime_error {
public:
    explicit Error(std::u16string message);
    const std::u16string& message() const noexcept { return message_; }

private:
    std::u16string message_;
};

namespace msg {

// "リストのインデックスが範囲を超えています (%d)"
std::u16string listIndexOutOfBounds(long long index);
// "範囲チェックエラー"
std::u16string rangeCheck();
// "'%s' は浮動小数点数ではありません"
std::u16string notAFloat(std::u16string_view value);
// File errors name the file.
std::u16string cannotOpen(const std::filesystem::path& file);
std::u16string cannotCreate(const std::filesystem::path& file);
std::u16string cannotWrite(const std::filesystem::path& file);
std::u16string cannotDelete(const std::filesystem::path& file);
std::u16string cannotCreateFolder(const std::filesystem::path& folder);
// An output name, made from file content or typed text, that is no plain file name.
std::u16string invalidFileName(std::u16string_view name);
// An output that would replace one of the run's own input files.
std::u16string inputWouldBeReplaced(const std::filesystem::path& file);
// An output that would replace one of the program's own files in its folder.
std::u16string programFileWouldBeReplaced(const std::filesystem::path& file);
// A file read as Shift-JIS that is no Shift-JIS text (UTF-16, UTF-8, or no text at all),
// with the line of its first offending byte when it is known (0: not known).
std::u16string notShiftJisText(const std::filesystem::path& file, size_t line = 0);

// The system's cryptographic library failed at `operation` ("HMAC-SHA-256", "SHA-256",
// "乱数"), with the library's own code or reason when it gives one.
std::u16string cryptoFailed(std::u16string_view operation, std::u16string_view reason);

// Text from a file or typed by the user as a message shows it: control characters as
// their visible symbols (U+0000 as U+2400 ...), so that they neither vanish nor cut the
// message short, and a text longer than a message line can hold shortened in its middle.
std::u16string shownText(std::u16string_view text);

}  // namespace msg

[[noreturn]] void throwListIndex(long long index);

}  // namespace vask
