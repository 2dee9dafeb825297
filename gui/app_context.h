// What every window needs from the program around it. The program folder is found once
// at start-up; tests pass a temporary folder, scripted dialogs and their own Downloads.
#pragma once

#include <QString>

#include <filesystem>
#include <functional>

#include "core/inifile.h"
#include "gui/dialogs.h"

namespace vask {

struct AppContext {
    std::filesystem::path programFolder;
    Dialogs* dialogs = nullptr;
    // The user's Downloads folder (Documents when the system has none).
    std::function<std::filesystem::path()> downloadsFolder;
    // Asks the system shell to open a document or address; false when nothing could open it.
    std::function<bool(const QString&)> openDocument;

    Settings settings() const { return Settings(programFolder); }
};

// The context of the running program: its own folder, real dialogs, the system's folders.
AppContext systemContext(Dialogs& dialogs);

}  // namespace vask
