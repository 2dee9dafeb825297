// The texts the tools show their users, in one table: warnings, prompts and result
// messages of every window and of vask-cli, and the errors the operations raise. The
// file errors that platform/ raises stay beside it (platform/errors.h).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vask::msg {

// --- Choosing and naming files (every tool).
inline constexpr std::u16string_view kNoFile = u"ファイルがありません。";
inline constexpr std::u16string_view kNoFileChosen = u"ファイルが選択されていません。";
inline constexpr std::u16string_view kChooseInputFile = u"変換前ファイルを選択します";
inline constexpr std::u16string_view kNotFormOneFile = u"正しいFFファイルではありません。";
inline constexpr std::u16string_view kProgramFolderNotWritable = u"プログラムフォルダに書き込めません：";
// The result message of a tool that wrote `fileName`: "<fileName>が作成されました".
std::u16string created(std::u16string_view fileName);
// The warning of a run that wrote `count` characters as "?" because Shift-JIS has no code
// for them, with the first output lines that hold one (`more`: later lines do too).
std::u16string lostCharacters(size_t count, const std::vector<size_t>& lines, bool more);

// --- Claims tools.
inline constexpr std::u16string_view kChooseEmployeeClaims = u"社保のレセ電データファイルを選択します";
inline constexpr std::u16string_view kNotEmployeeClaims = u"社保のレセ電データではありません。";
inline constexpr std::u16string_view kChooseNationalClaims = u"国保のレセ電データファイルを選択します";
inline constexpr std::u16string_view kNotNationalClaims = u"国保のレセ電データではありません。";
inline constexpr std::u16string_view kChooseClaimsAgain = u"新しいレセ電ファイルを選択しますか？";
inline constexpr std::u16string_view kClaimsAnonymised = u"社保と国保の匿名化ファイルが作成されました";
inline constexpr std::u16string_view kBranchNumbersRemoved = u"社保と国保の枝番除去ファイルが作成されました";
// Warning lines of the result window after a press that made no file of one kind.
inline constexpr std::u16string_view kEmployeeFileNotMade = u"社保のファイルは作成されませんでした";
inline constexpr std::u16string_view kNationalFileNotMade = u"国保のファイルは作成されませんでした";
inline constexpr std::u16string_view kBlankPosition = u"値が空欄です";
inline constexpr std::u16string_view kBadPosition = u"正しい数字を入力して下さい";
// The check of a claims file against the record layout: what it needs to begin.
inline constexpr std::u16string_view kNoClinicRecordFirst =
    u"レセ電ファイルではありません（先頭にIRレコード（医療機関情報レコード）がありません）";

// --- Form-1 converters.
inline constexpr std::u16string_view kCorrespondencePrompt =
    u"「カルテ番号」と「データ識別番号」の対応ファイルを選択します";
inline constexpr std::u16string_view kBadCorrespondenceFile = u"対応ファイルが正しくありません";

// --- Record replacement.
inline constexpr std::u16string_view kChooseDefinitionFile = u"変換定義ファイルファイルを選択します";
inline constexpr std::u16string_view kNotDefinitionFile = u"変換定義ファイルではありません。";
inline constexpr std::u16string_view kNoDefinitionFile = u"変更定義ファイルがファイルがありません。";

// --- FF1 link.
inline constexpr std::u16string_view kYearMonthPrompt = u"連携ファイル該当年月を入力してください";
inline constexpr std::u16string_view kLinkFailed = u"エラーが発生しました:";
inline constexpr std::u16string_view kLinkDone = u"電カル連携ファイルが作成されました";
inline constexpr std::u16string_view kFF1FolderPrompt = u"FF1ファイルのあるフォルダを選択してください";
inline constexpr std::u16string_view kSpecCsvEmpty = u"仕様CSVが空です。";
inline constexpr std::u16string_view kSpecCsvTitlesMissing =
    u"仕様CSVの1行目に「ヘッダー名/コード/ペイロード番号」が見つかりません。";
std::u16string ff1FolderMissing(std::u16string_view folder);
std::u16string noFF1Files(std::u16string_view folder);
std::u16string appendDateDiffers(std::u16string_view baseDate, std::u16string_view appendDate);

// --- The check of anonymised files.
inline constexpr std::u16string_view kCheckFailed = u"匿名化したファイルを確認できませんでした：";
// The original holds no record the check knows, so nothing of it can be checked.
std::u16string nothingToCheck(const std::filesystem::path& original);

// --- The pseudonym key (the user's settings folder).
inline constexpr std::u16string_view kNoUserSettingsFolder =
    u"ユーザーの設定フォルダが見つかりません（ホームフォルダがありません）";
// A key file that holds no key: what it must hold, never what it holds.
std::u16string badPseudonymKeyFile(const std::filesystem::path& file);

// --- Save destination.
inline constexpr std::u16string_view kSaveFolderPrompt = u"保存先フォルダを指定してＯＫをクリックしてください";
// The result window's line naming the folder its button moves the files to.
inline constexpr std::u16string_view kSaveFolderLine = u"保存先：";

// --- The manual, when no program could open it: followed by its path.
inline constexpr std::u16string_view kManualNotOpened = u"マニュアルを開けませんでした：";

// The text of the general error message box, in every window and in vask-cli: the
// message, with a full stop added when it ends in a character above ".".
std::u16string errorBoxText(std::u16string_view message);

}  // namespace vask::msg
