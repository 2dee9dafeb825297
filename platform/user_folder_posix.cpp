#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/user_folder.h"

namespace vask {
namespace {

std::filesystem::path absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') return {};
    return value;
}

// $HOME, else the home folder of the user's account.
std::filesystem::path homeFolder() {
    if (auto home = absoluteVariable("HOME"); !home.empty()) return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_dir == nullptr || found->pw_dir[0] != '/')
        return {};
    return found->pw_dir;
}

}  // namespace

std::filesystem::path userSettingsFolder() {
    if (auto config = absoluteVariable("XDG_CONFIG_HOME"); !config.empty()) return config / "vask";
    const std::filesystem::path home = homeFolder();
    return home.empty() ? home : home / ".config" / "vask";
}

}  // namespace vask
