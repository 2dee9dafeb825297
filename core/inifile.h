// The settings store: single values of the INI file user.ini in the program folder, read
// and written with the private-profile rules (names match without regard to case, the
// first matching section and key count, quotes around a value are dropped, a value is cut
// to 2047 characters, other lines keep their place and bytes). The keys the program uses
// are named in core/settings_keys.h.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vask {

inline constexpr char16_t kSettingsSection[] = u"PARAM";

// The settings file of a program folder: folder + "user.ini".
std::filesystem::path settingsFile(const std::filesystem::path& programFolder);

// The value of the key, or `pDef` when the file, the section or the key is missing.
// Never fails.
std::u16string IFReadIniStr(const std::filesystem::path& iniFile, std::u16string_view pMKey, std::u16string_view pSKey,
                            std::u16string_view pDef);

// Sets the key, creating the file, the section and the key as needed. A file that is
// UTF-16 LE with a byte-order mark stays so; otherwise code page 932. Raises Error naming
// the file when it cannot be written; the file is then unchanged.
void IFWriteIniStr(const std::filesystem::path& iniFile, std::u16string_view pMKey, std::u16string_view pSKey,
                   std::u16string_view pPara);

// The program's settings (section PARAM of user.ini in the program folder).
class Settings {
public:
    explicit Settings(std::filesystem::path programFolder) : file_(settingsFile(programFolder)) {}
    std::u16string read(std::u16string_view key, std::u16string_view fallback = {}) const {
        return IFReadIniStr(file_, kSettingsSection, key, fallback);
    }
    void write(std::u16string_view key, std::u16string_view value) const {
        IFWriteIniStr(file_, kSettingsSection, key, value);
    }
    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
};

}  // namespace vask
