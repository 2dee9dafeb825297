// The clinic's pseudonym key: 32 random bytes under which chart numbers become keyed
// pseudonyms. It lives in the user's own settings folder (not the program folder) as the
// text file pseudonym-key.txt: 64 lower-case hexadecimal digits on one line, readable by
// its user alone (mode 0600 on POSIX systems). A key is held as its 32 bytes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace vask {

inline constexpr size_t kPseudonymKeySize = 32;
inline constexpr char16_t kPseudonymKeyFileName[] = u"pseudonym-key.txt";

// The folder whose key the program uses: the user's settings folder (userSettingsFolder).
// Raises Error when the system names none.
std::filesystem::path pseudonymKeyFolder();
// The key file of a folder: folder + "pseudonym-key.txt".
std::filesystem::path pseudonymKeyFile(const std::filesystem::path& folder);

// The key of `folder`: read from its key file when there is one, else made (makeNewKey).
// A key file that holds no key raises Error and is left as it is, never replaced.
std::string loadOrCreateKey(const std::filesystem::path& folder);
// A new random key, written as the key file of `folder` (made with its missing parent
// folders), replacing the key there: only when the user asks for a new key.
std::string makeNewKey(const std::filesystem::path& folder);

// `key`, as readKeyFrom read it from a key file (and the user saw it), made the key of
// `folder`, replacing the key there: an import, when a clinic's key moves to another of
// its PCs. Taking the key read, not the file, imports exactly the key that was shown.
void importKey(std::string_view key, const std::filesystem::path& folder);

// The key written to `file` as a key file is written (an export), atomically.
void writeKeyTo(const std::filesystem::path& file, std::string_view key);
// The key a key file holds (an import): 64 hexadecimal digits, in either case, with blanks
// and line breaks around them. Raises Error for anything else and for a file that cannot
// be read.
std::string readKeyFrom(const std::filesystem::path& file);

// What tells keys apart without showing them: the first 8 hexadecimal digits (lower case)
// of the key's SHA-256.
std::u16string keyFingerprint(std::string_view key);

}  // namespace vask
