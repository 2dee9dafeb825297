#include "ff1/ff1_output.h"

#include <system_error>

#include "platform/cp932.h"
#include "platform/errors.h"

namespace vask::ff1 {

void createMissingFolders(const std::filesystem::path& folder) {
    if (folder.empty()) return;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) throw Error(msg::cannotCreateFolder(folder));
}

std::string Utf16ToCP932BytesLossy(std::u16string_view S) { return cp932::encode(S); }

LineWriter openCP932LossyWriter(const std::filesystem::path& FileName) {
    createMissingFolders(FileName.parent_path());
    return LineWriter(FileName, TextEncoding::Cp932);
}

void SaveStringListAsCP932Lossy(const std::vector<std::u16string>& SL, const std::filesystem::path& FileName) {
    LineWriter writer = openCP932LossyWriter(FileName);
    for (const auto& line : SL) writer.writeLine(line);
    writer.commit();
}

}  // namespace vask::ff1
