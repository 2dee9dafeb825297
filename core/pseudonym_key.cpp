#include "core/pseudonym_key.h"

#include "core/messages.h"
#include "platform/atomic_file.h"
#include "platform/crypto.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/user_folder.h"

namespace vask {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
// A key file is a line of 64 digits; one this long holds no key, whatever follows.
constexpr size_t kLongestKeyFile = 1024;

std::string toHex(std::string_view bytes) {
    std::string hex;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        hex += kHexDigits[value >> 4];
        hex += kHexDigits[value & 0xF];
    }
    return hex;
}

int hexValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    return -1;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The key of 64 hexadecimal digits; empty when `hex` is anything else.
std::string keyFromHex(std::string_view hex) {
    if (hex.size() != 2 * kPseudonymKeySize) return {};
    std::string key;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexValue(hex[i]);
        const int low = hexValue(hex[i + 1]);
        if (high < 0 || low < 0) return {};
        key += static_cast<char>(high << 4 | low);
    }
    return key;
}

// Makes `key` the key of `folder`, made with its missing parent folders.
void storeKey(const std::filesystem::path& folder, std::string_view key) {
    if (!createFolders(folder)) throw Error(msg::cannotCreateFolder(folder));
    writeKeyTo(pseudonymKeyFile(folder), key);
}

}  // namespace

std::filesystem::path pseudonymKeyFolder() {
    std::filesystem::path folder = userSettingsFolder();
    if (folder.empty()) throw Error(std::u16string(msg::kNoUserSettingsFolder));
    return folder;
}

std::filesystem::path pseudonymKeyFile(const std::filesystem::path& folder) {
    return folder / toPath(kPseudonymKeyFileName);
}

std::string loadOrCreateKey(const std::filesystem::path& folder) {
    const std::filesystem::path file = pseudonymKeyFile(folder);
    // Anything of that name that is no regular file (a folder) is refused by the writer.
    return fileExists(file) ? readKeyFrom(file) : makeNewKey(folder);
}

std::string makeNewKey(const std::filesystem::path& folder) {
    std::string key = randomBytes(kPseudonymKeySize);
    storeKey(folder, key);
    return key;
}

void importKey(std::string_view key, const std::filesystem::path& folder) { storeKey(folder, key); }

void writeKeyTo(const std::filesystem::path& file, std::string_view key) {
    if (key.size() != kPseudonymKeySize) throw Error(msg::badPseudonymKeyFile(file));
    writeFileAtomically(file, toHex(key) + "\n", FileAccess::ownerOnly);
}

std::string readKeyFrom(const std::filesystem::path& file) {
    const std::string content = readPrefix(file, kLongestKeyFile);
    std::string key = content.size() < kLongestKeyFile ? keyFromHex(trimmed(content)) : std::string();
    if (key.empty()) throw Error(msg::badPseudonymKeyFile(file));
    return key;
}

std::u16string keyFingerprint(std::string_view key) {
    const std::string hex = toHex(sha256(key)).substr(0, 8);
    return std::u16string(hex.begin(), hex.end());
}

}  // namespace vask
