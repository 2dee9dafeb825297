#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// windows.h first: shlobj.h takes its types from it.
#include <shlobj.h>

#include "platform/user_folder.h"

namespace vask {

std::filesystem::path userSettingsFolder() {
    PWSTR folder = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder))) {
        CoTaskMemFree(folder);
        return {};
    }
    std::filesystem::path path(folder);
    CoTaskMemFree(folder);
    return path / L"Vask";
}

}  // namespace vask
