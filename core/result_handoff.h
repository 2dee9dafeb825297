// Handing results to the user: every tool writes its output files into the program folder;
// the result window then moves them into the save folder (the Downloads folder, or the
// folder chosen in the save-destination window), optionally into a clinic sub-folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vask {

// Name of the clinic sub-folder: field 4 + "_" + field 6 of the first result file's first
// line. It comes from file content, so every character a Windows folder name cannot hold
// (\ / : * ? " < > | and U+0000..U+001F) becomes "_", and a name that is then empty or only
// dots becomes "_": the sub-folder always lies inside the save folder.
std::u16string clinicFolderName(std::u16string_view field4, std::u16string_view field6);

struct SaveSettings {
    std::u16string saveFolder;  // SAVEFDR as read (untrimmed); blank means Downloads
    std::u16string clinicRule;  // SVCHG as read; "1" (trimmed) asks for the clinic sub-folder
};

// The folder the result files go to. The Downloads folder is created when it is missing,
// as the system's file manager would; a chosen save folder is not. With a chosen save
// folder and the clinic rule in force, the sub-folder is named from fields 4 and 6 of the
// first line of `file1` (in the program folder) and created when missing (one level); a
// first line without those fields names no clinic, and the save folder itself is the
// target. Raises Error when `file1` cannot be read.
std::filesystem::path resultTarget(const std::filesystem::path& programFolder, const std::filesystem::path& downloads,
                                   const SaveSettings& settings, std::u16string_view file1);
// The same folder without making any: where the result window says the files will go.
// Raises Error when `file1` cannot be read.
std::filesystem::path plannedResultTarget(const std::filesystem::path& programFolder,
                                          const std::filesystem::path& downloads, const SaveSettings& settings,
                                          std::u16string_view file1);

// Moves each named file from the program folder into `target`, replacing a file of that
// name there. Empty names and names not present in the program folder are passed over; a
// file whose target is the file itself stays and counts as moved. Returns the names of the
// files that could not be moved: they stay in the program folder.
std::vector<std::u16string> moveResultFiles(const std::filesystem::path& programFolder,
                                            const std::filesystem::path& target,
                                            const std::vector<std::u16string>& names);

// The warning shown when some result files could not be moved.
std::u16string notMovedWarning(const std::vector<std::u16string>& names);

}  // namespace vask
