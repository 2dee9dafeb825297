#include "core/result_handoff.h"

#include <algorithm>

#include "core/file_names.h"
#include "core/messages.h"
#include "core/settings_keys.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "platform/atomic_file.h"
#include "platform/errors.h"
#include "platform/paths.h"

namespace vask {

std::u16string clinicFolderName(std::u16string_view field4, std::u16string_view field6) {
    std::u16string name = std::u16string(field4) + u"_" + std::u16string(field6);
    std::replace_if(name.begin(), name.end(), isForbiddenInFileName, u'_');
    if (name.find_first_not_of(u'.') == std::u16string::npos) name = u"_";
    return name;
}

std::filesystem::path plannedResultTarget(const std::filesystem::path& programFolder,
                                          const std::filesystem::path& downloads, const SaveSettings& settings,
                                          std::u16string_view file1) {
    if (isBlank(settings.saveFolder)) return downloads;
    std::filesystem::path target = toPath(settings.saveFolder);
    if (trim(settings.clinicRule) != vask::settings::kClinicSubfolderOn) return target;

    std::u16string firstLine;  // stays empty for a file without any line
    TextLineReader(programFolder / toPath(file1)).next(firstLine);
    std::vector<std::u16string> fields;
    GetCommaTxt(firstLine, fields);
    // A result without the clinic's fields (the tab-separated copies: the anonymised form-1
    // file, the replaced data file) names no clinic: it goes into the save folder itself.
    constexpr size_t kClinicCode = 4;
    constexpr size_t kClinicName = 6;
    if (fields.size() <= kClinicName) return target;
    return target / toPath(clinicFolderName(fields[kClinicCode], fields[kClinicName]));
}

std::filesystem::path resultTarget(const std::filesystem::path& programFolder, const std::filesystem::path& downloads,
                                   const SaveSettings& settings, std::u16string_view file1) {
    const std::filesystem::path target = plannedResultTarget(programFolder, downloads, settings, file1);
    // A folder that cannot be made shows when the files do not move.
    if (folderExists(target)) return target;
    if (isBlank(settings.saveFolder)) {
        createFolders(target);
    } else if (target != toPath(settings.saveFolder)) {  // the clinic sub-folder, one level
        createFolder(target);
    }
    return target;
}

namespace {

// Renames when it can (atomic, and cheap on one volume); copies through a temporary file
// and deletes the source otherwise. A source that another program still reads (a virus
// scanner checks every new file) is tried again for a moment; one that stays after that
// has its copy in place all the same.
bool moveFile(const std::filesystem::path& source, const std::filesystem::path& target) {
    if (!folderExists(target) && renameFile(source, target)) return true;
    try {
        copyFileAtomically(source, target);
    } catch (const Error&) {
        return false;
    }
    deleteFile(source);
    return true;
}

}  // namespace

std::vector<std::u16string> moveResultFiles(const std::filesystem::path& programFolder,
                                            const std::filesystem::path& target,
                                            const std::vector<std::u16string>& names) {
    std::vector<std::u16string> notMoved;
    for (const std::u16string& name : names) {
        if (name.empty()) continue;
        const std::filesystem::path source = programFolder / toPath(name);
        if (!fileExists(source)) continue;
        const std::filesystem::path destination = target / toPath(name);
        if (sameFile(source, destination)) continue;
        if (!folderExists(target) || !moveFile(source, destination)) notMoved.push_back(name);
    }
    return notMoved;
}

std::u16string notMovedWarning(const std::vector<std::u16string>& names) {
    std::u16string text(msg::kFilesNotSaved);
    for (const auto& name : names) text += u"\n" + name;
    return text;
}

}  // namespace vask
