#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "../support/test_support.h"
#include "core/pseudonym_key.h"
#include "platform/errors.h"
#include "platform/user_folder.h"
#include "platform/utf.h"

namespace vask {
namespace {

using test::listFolder;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

// The key 00 01 02 ... 1f and its key file line.
const std::string kKnownKey = [] {
    std::string key;
    for (int i = 0; i < 32; ++i) key += static_cast<char>(i);
    return key;
}();
const std::string kKnownHex = "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f";

bool isKeyLine(const std::string& text) {
    if (text.size() != 65 || text.back() != '\n') return false;
    for (size_t i = 0; i < 64; ++i)
        if (!(std::isdigit(static_cast<unsigned char>(text[i])) || (text[i] >= 'a' && text[i] <= 'f'))) return false;
    return true;
}

#ifndef _WIN32
unsigned modeOf(const std::filesystem::path& file) {
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}
#endif

TEST(PseudonymKey, IsMadeOnFirstUseAndReadBackTheSameAfterwards) {
    TempDir dir;
    const auto folder = dir / "settings" / "vask";  // made with its parent
    const std::string key = loadOrCreateKey(folder);
    ASSERT_EQ(key.size(), kPseudonymKeySize);
    EXPECT_EQ(listFolder(folder), std::vector<std::string>{"pseudonym-key.txt"});
    const std::string line = readBytes(folder / "pseudonym-key.txt");
    EXPECT_TRUE(isKeyLine(line)) << line;
    EXPECT_EQ(loadOrCreateKey(folder), key);
    EXPECT_EQ(readBytes(folder / "pseudonym-key.txt"), line);

    // Exported and imported, the key is the same; a new key replaces it.
    writeKeyTo(dir / "export.txt", key);
    EXPECT_EQ(readBytes(dir / "export.txt"), line);
    EXPECT_EQ(readKeyFrom(dir / "export.txt"), key);
    const std::string renewed = makeNewKey(folder);
    EXPECT_NE(renewed, key);
    EXPECT_EQ(loadOrCreateKey(folder), renewed);

    // Imported into another PC's folder (made with its parent), or back over the new key.
    importKey(readKeyFrom(dir / "export.txt"), dir / "other" / "vask");
    EXPECT_EQ(loadOrCreateKey(dir / "other" / "vask"), key);
    importKey(readKeyFrom(dir / "export.txt"), folder);
    EXPECT_EQ(readBytes(folder / "pseudonym-key.txt"), line);
    // A file that holds no key changes nothing.
    writeBytes(dir / "bad.txt", "no key");
    EXPECT_THROW(importKey(readKeyFrom(dir / "bad.txt"), folder), Error);
    EXPECT_EQ(readBytes(folder / "pseudonym-key.txt"), line);
}

TEST(PseudonymKey, IsWrittenAsLowerCaseHexAndReadInEitherCaseWithBlanksAround) {
    TempDir dir;
    writeKeyTo(dir / "key.txt", kKnownKey);
    EXPECT_EQ(readBytes(dir / "key.txt"), kKnownHex + "\n");
    std::string upper = kKnownHex;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const std::string& text : {kKnownHex, upper, "  " + kKnownHex + "\r\n", "\n\t" + kKnownHex + " \n\n"}) {
        writeBytes(dir / "in.txt", text);
        EXPECT_EQ(readKeyFrom(dir / "in.txt"), kKnownKey) << text;
    }
}

TEST(PseudonymKey, AFileThatHoldsNoKeyIsAnErrorAndStaysAsItWas) {
    const std::string malformed[] = {
        "",
        kKnownHex.substr(1),            // 63 digits
        kKnownHex + "0",                // 65 digits
        kKnownHex.substr(0, 63) + "g",  // not a hexadecimal digit
        kKnownHex.substr(0, 32) + " " + kKnownHex.substr(32),
        "\xEF\xBB\xBF" + kKnownHex,           // a byte-order mark
        kKnownHex + "\n" + kKnownHex + "\n",  // two keys
        kKnownHex + std::string(2000, ' '),   // a key line in a file of no key's size
    };
    for (const std::string& content : malformed) {
        TempDir dir;
        writeBytes(dir / "pseudonym-key.txt", content);
        try {
            loadOrCreateKey(dir.path());
            ADD_FAILURE() << "no error for \"" << content << "\"";
        } catch (const Error& e) {
            EXPECT_NE(e.message().find(u"pseudonym-key.txt"), std::u16string::npos) << utf16ToUtf8(e.message());
            EXPECT_NE(e.message().find(u"64桁の16進数"), std::u16string::npos) << utf16ToUtf8(e.message());
        }
        EXPECT_EQ(readBytes(dir / "pseudonym-key.txt"), content);
        EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"pseudonym-key.txt"});
    }
}

TEST(PseudonymKey, FingerprintIsTheStartOfTheKeysSha256) {
    // sha256(00 01 ... 1f) = 630dcd29...
    EXPECT_EQ(keyFingerprint(kKnownKey), u"630dcd29");
}

#ifndef _WIN32
// Whatever the umask lets, the key file (made or exported over a file that others could
// read) is its user's alone.
TEST(PseudonymKey, KeyFilesAreReadableByTheirUserOnly) {
    TempDir dir;
    const mode_t old = ::umask(0);
    loadOrCreateKey(dir / "vask");
    writeBytes(dir / "export.txt", "old");
    ::chmod((dir / "export.txt").c_str(), 0644);
    writeKeyTo(dir / "export.txt", kKnownKey);
    makeNewKey(dir / "vask");
    ::umask(old);
    EXPECT_EQ(modeOf(dir / "vask" / "pseudonym-key.txt"), 0600u);
    EXPECT_EQ(modeOf(dir / "export.txt"), 0600u);
}

TEST(UserSettingsFolder, IsTheXdgConfigFolderElseTheOneInHome) {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') GTEST_SKIP() << "no HOME";
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = xdg ? xdg : "";
    ::setenv("XDG_CONFIG_HOME", "/srv/config", 1);
    EXPECT_EQ(userSettingsFolder(), std::filesystem::path("/srv/config/vask"));
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);  // not absolute: ignored
    EXPECT_EQ(userSettingsFolder(), std::filesystem::path(home) / ".config" / "vask");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(userSettingsFolder(), std::filesystem::path(home) / ".config" / "vask");
    if (xdg) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}
#else
TEST(UserSettingsFolder, IsVaskInTheRoamingApplicationDataFolder) {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    ASSERT_NE(appData, nullptr);
    EXPECT_EQ(userSettingsFolder(), std::filesystem::path(appData) / L"Vask");
}
#endif

}  // namespace
}  // namespace vask
