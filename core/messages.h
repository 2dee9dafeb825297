// The texts the tools show their users, in one table: warnings, prompts and result
// messages of every window and of vask-cli, and the errors the operations raise.
// Elsewhere, beside the code that counts what they show: the file errors that platform/
// raises (platform/errors.h), the lines of the anonymisation check's report and result
// line (core/anonymisation_report.cpp) and those of the claims check's report
// (claims/claims_check_report.cpp). Captions and control texts stay with their windows.
// A text whose wording looks odd ("ファイルファイル", "がファイルが") is the system's own,
// which its users and their manuals know: it is kept as it is, on purpose.
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
// The same check of the files the branch-number removal writes for submission.
inline constexpr std::u16string_view kSaveDespiteCheckFindings = u"点検で問題が見つかりました。保存しますか？";
inline constexpr std::u16string_view kSubmissionCheckFailed = u"提出用ファイルを点検できませんでした：";

// --- Form-1 converters.
inline constexpr std::u16string_view kCorrespondencePrompt =
    u"「カルテ番号」と「データ識別番号」の対応ファイルを選択します";
inline constexpr std::u16string_view kBadCorrespondenceFile = u"対応ファイルが正しくありません";

// --- Record replacement. (The doubled words of two of these are the system's own.)
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
// The question before saving files of which a check found something or that it could not
// check in full.
inline constexpr std::u16string_view kSaveDespiteFindings = u"匿名化の確認で警告が出ています。保存しますか？";
// vask-cli's warning lines after anonymize and blank-names: something found, records not
// checked, or the check failed (followed by the message).
inline constexpr std::u16string_view kCliCheckFoundSomething =
    u"警告: 匿名化したファイルに元のファイルの識別情報が残っているか、レコード数が合いません"
    u"（vask-cli check-anonymized で確かめてください）";
inline constexpr std::u16string_view kCliCheckUncheckedRecords =
    u"警告: 元のファイルに、匿名化が知らないため確認していないレコードがあります"
    u"（vask-cli check-anonymized で確かめてください）";
inline constexpr std::u16string_view kCliCheckFailed = u"警告: 匿名化したファイルを確認できませんでした: ";
inline constexpr std::u16string_view kCliSubmissionCheckFailed = u"警告: 提出用ファイルを点検できませんでした: ";
// vask-cli's warning after strip-branch when the check of the written file found something:
// how many, and whether they were already in the input (`origin`).
std::u16string cliSubmissionFindings(size_t count, std::u16string_view origin);
// The original holds no record the check knows, so nothing of it can be checked.
std::u16string nothingToCheck(const std::filesystem::path& original);

// --- The pseudonym key (the user's settings folder).
inline constexpr std::u16string_view kNoUserSettingsFolder =
    u"ユーザーの設定フォルダが見つかりません（ホームフォルダがありません）";
// A key file that holds no key: what it must hold, never what it holds.
std::u16string badPseudonymKeyFile(const std::filesystem::path& file);

// --- The pseudonymisation profile (仮名加工). Its refusals write nothing and never show a
// value of the file.
inline constexpr std::u16string_view kPseudonymCollision =
    u"仮名加工を中止しました：異なるカルテ番号が同じ仮名になりました（ごくまれに起こります）。"
    u"詳細設定で新しい鍵を作ってから、やり直してください";
// A record the profile cannot vouch for: not of the medical layout, or one whose fields the
// record layout does not describe, or with more fields than the layout has.
std::u16string recordNotPseudonymisable(std::u16string_view record, size_t line);
// A date the profile must cut to year and month that is no date of 7 or 8 digits.
std::u16string dateNotPseudonymisable(std::u16string_view record, std::u16string_view field, size_t line);

// --- Save destination.
// Followed by the names, one a line, of the results the result window could not move.
inline constexpr std::u16string_view kFilesNotSaved =
    u"保存できなかったファイルがあります（プログラムフォルダに残っています）：";
inline constexpr std::u16string_view kSaveFolderPrompt = u"保存先フォルダを指定してＯＫをクリックしてください";
// The result window's line naming the folder its button moves the files to.
inline constexpr std::u16string_view kSaveFolderLine = u"保存先：";

// --- The manual, when no program could open it: followed by its path.
inline constexpr std::u16string_view kManualNotOpened = u"マニュアルを開けませんでした：";

// vask-cli, when what it printed could not be written.
inline constexpr std::u16string_view kCannotWriteStdout = u"標準出力に書き込めません";

// The text of the general error message box, in every window and in vask-cli: the
// message, with a full stop added when it ends in a character above ".".
std::u16string errorBoxText(std::u16string_view message);

}  // namespace vask::msg
