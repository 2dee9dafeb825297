// The column mapping step of the Movacal variant: the header titles of a form-1 file are
// renamed by a mapping file of "key,title" lines, and the columns mapped to the empty
// title are dropped. The mapping file ("movacal.csv" beside the program) is deployment
// data that a clinic replaces with its own.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/textfile.h"

namespace vask::formone {

inline constexpr std::u16string_view kMappingFileName = u"movacal.csv";
inline constexpr std::u16string_view kIntermediateFileName = u"output.tsv";

// One leading U+FEFF goes, then blanks and control characters at both ends.
std::u16string NormalizeKey(std::u16string_view S);

// Normalised key -> normalised title; a later line with the same key wins; lines with an
// empty key are ignored; a key without a comma maps to the empty title. A file with a NUL
// byte (UTF-16, whose keys would match nothing) raises Error, not Shift-JIS text.
using ColumnMapping = std::unordered_map<std::u16string, std::u16string>;
ColumnMapping loadColumnMapping(const std::filesystem::path& MappingFile);

// Writes OutputFile (code page 932, CR LF) from InputFile (read as the choosing step reads
// a form-1 file: UTF-8 or UTF-16 by its byte-order mark, else Shift-JIS text) line by line:
// the kept columns' titles, then the kept fields of every further line. Returns false,
// with OutputFile neither created nor changed, when InputFile has no line at all. Raises
// Error when OutputFile is InputFile or MappingFile. With `lost`, the characters written as
// "?" are counted there.
bool ConvertTSVWithMapping(const std::filesystem::path& InputFile, const std::filesystem::path& OutputFile,
                           const std::filesystem::path& MappingFile, LostCharacters* lost = nullptr);

}  // namespace vask::formone
