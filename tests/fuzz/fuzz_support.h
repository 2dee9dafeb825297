// Helpers shared by the fuzz targets: the check that stops a run on a broken property, a
// scratch folder per process for the operations that only take files, and the cutting of
// one fuzz input into the several files or texts an operation reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vask::fuzz {

// Aborts with `what` on standard error when `holds` is false; libFuzzer then saves the input.
void require(bool holds, const char* what);
// Runs `step`. Returns true when it refused a file as no Shift-JIS text, which a file may
// only be refused for when it holds a NUL byte or begins with a byte-order mark (checked
// over `contents`, the bytes of the files the step reads); other errors go on.
bool refusedAsNoShiftJis(const std::function<void()>& step, const std::vector<std::string_view>& contents);

// The input of one run as bytes.
inline std::string_view bytesOf(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Text from input bytes: read as UTF-8 (readable seeds; invalid bytes become U+FFFD), or
// as raw UTF-16 LE units (any unit, lone surrogates too; an odd last byte is dropped).
std::u16string textOf(std::string_view bytes);
std::u16string unitsOf(std::string_view bytes);

// Parts of an input are separated by a line "~~~~": "part0\n~~~~\npart1...". There are
// always `count` parts: missing ones are empty and the last takes the rest of the input.
inline constexpr std::string_view kPartSeparator = "\n~~~~\n";
std::vector<std::string_view> splitParts(std::string_view input, size_t count);

// The process's scratch folder: <base>/vask-fuzz-<pid>, where <base> is $VASK_FUZZ_SCRATCH
// or /dev/shm (memory, so that file-based runs stay fast). Made on first use, removed when
// the process exits normally.
const std::filesystem::path& scratchFolder();
// The folder `name` inside the scratch folder, made when missing and emptied.
std::filesystem::path emptyFolder(std::string_view name);
// Number of entries in a folder.
size_t entryCount(const std::filesystem::path& folder);

void writeFile(const std::filesystem::path& path, std::string_view bytes);

// Reads a whole file.
std::string readFile(const std::filesystem::path& path);

// The lines of a file the program wrote: every line must end with CR LF and hold no
// other CR or LF (the run stops otherwise).
std::vector<std::string> writtenLines(std::string_view bytes);

// Splits bytes into lines at CR LF, LF or a lone CR; a text ending with a break gives no
// extra line. Written independently of the code under test, as its reference.
std::vector<std::string> splitByteLines(std::string_view bytes);

}  // namespace vask::fuzz
