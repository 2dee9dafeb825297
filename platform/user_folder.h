// The user's own folder for what belongs to the user rather than to the program folder
// (such as the clinic's pseudonym key): on Windows the roaming application data folder +
// "Vask" (%APPDATA%\Vask), elsewhere $XDG_CONFIG_HOME/vask, or ~/.config/vask when
// XDG_CONFIG_HOME is unset, empty or not absolute (user_folder_posix.cpp / _win32.cpp).
#pragma once

#include <filesystem>

namespace vask {

// The folder, which need not exist yet; empty when the system names none (no home folder).
std::filesystem::path userSettingsFolder();

}  // namespace vask
