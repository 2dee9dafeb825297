// Output names made from file content or typed text (a billing month, a year-month, an
// input's name) must stay plain file names: a name with a folder separator or ".." could
// otherwise write outside the output folder. Every tool that derives an output name passes
// it through outputPath, which also keeps the output off the run's inputs and off the
// program's own files.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vask {

// True when `name` is usable as one file name on Windows and POSIX alike: not empty, not
// "." or "..", and free of the characters a Windows file name cannot hold.
bool isPlainFileName(std::u16string_view name);
// Raises Error "ファイル名に使えない文字が含まれています：<name>" unless it is plain.
void requirePlainFileName(std::u16string_view name);
// True for the characters a Windows file or folder name cannot hold: \ / : * ? " < > | and
// U+0000..U+001F.
bool isForbiddenInFileName(char16_t c);

// `marker` put before the name's last extension ("data.tsv" + "R" -> "dataR.tsv"), or
// appended when there is none; a leading dot starts no extension (".hidden" -> ".hiddenR").
std::u16string insertBeforeExtension(std::u16string_view name, std::u16string_view marker);

// The file-name part of a path as typed: the text after its last "\", "/" or ":".
std::u16string_view fileNamePart(std::u16string_view path);

// No output may replace one of the run's own input files (whatever the spelling or links):
// raises Error "ファイル "<output>" は入力ファイルのため上書きできません" when `output` is
// one of `inputs`.
void refuseToReplaceInputs(const std::filesystem::path& output, const std::vector<std::filesystem::path>& inputs);

// True when `name`, compared as the platform compares file names, is one of the files the
// program keeps in its own folder: its executables and libraries, the shipped data, the
// settings and the manual.
bool isProgramFileName(std::u16string_view name);

// How a tool's derived output name is checked.
struct OutputRules {
    std::vector<std::filesystem::path> inputs = {};  // the run's own input files
    // The output folder is the program folder (OUTDIR for vask-cli), which holds the
    // program's own files.
    bool programFolder = true;
    // Empty: an output that would land on an input is refused. Otherwise the marker goes
    // before the extension ("ano", "R") until the name lands on no input.
    std::u16string_view markerOnInput = {};
};

// The full path of the output named `name` in `folder`. Raises Error when the name is no
// plain file name, when it lands on an input (unless the rules give a marker), and when it
// is one of the program's own files in the program folder:
// "ファイル "<output>" はプログラムのファイルのため上書きできません".
std::filesystem::path outputPath(const std::filesystem::path& folder, std::u16string_view name,
                                 const OutputRules& rules);

}  // namespace vask
