// Output names made from file content or typed text (a billing month, a year-month, an
// input's name) must stay plain file names: a name with a folder separator or ".." could
// otherwise write outside the output folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vask {

// True when `name` is usable as one file name on Windows and POSIX alike: not empty, not
// "." or "..", and free of \ / : * ? " < > | and U+0000..U+001F.
bool isPlainFileName(std::u16string_view name);
// Raises Error "ファイル名に使えない文字が含まれています：<name>" unless it is plain.
void requirePlainFileName(std::u16string_view name);

// `marker` put before the name's last extension ("data.tsv" + "R" -> "dataR.tsv"), or
// appended when there is none; a leading dot starts no extension (".hidden" -> ".hiddenR").
std::u16string insertBeforeExtension(std::u16string_view name, std::u16string_view marker);

// The file-name part of a path as typed: the text after its last "\", "/" or ":".
std::u16string_view fileNamePart(std::u16string_view path);

// No output may replace one of the run's own input files (whatever the spelling or links):
// raises Error "ファイル "<output>" は入力ファイルのため上書きできません" when `output` is
// one of `inputs`.
void refuseToReplaceInputs(const std::filesystem::path& output, const std::vector<std::filesystem::path>& inputs);

}  // namespace vask
