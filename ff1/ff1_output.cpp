#include "ff1/ff1_output.h"

#include <system_error>

#include "platform/errors.h"
#include "platform/paths.h"

namespace vask::ff1 {

void createMissingFolders(const std::filesystem::path& folder) {
    if (folder.empty()) return;
    if (!createFolders(folder)) throw Error(msg::cannotCreateFolder(folder));
}

LineWriter openCP932LossyWriter(const std::filesystem::path& FileName) {
    createMissingFolders(FileName.parent_path());
    return LineWriter(FileName, TextEncoding::Cp932);
}

}  // namespace vask::ff1
