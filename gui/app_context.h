// What every window needs from the program around it. The program folder is found once
// at start-up; tests pass a temporary folder, scripted dialogs, their own Downloads and
// their own folder of the pseudonym key.
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
    // The folder of the user's pseudonym key (core/pseudonym_key.h); empty when the system
    // names none, which only the key's users report (keyFolderOrError).
    std::filesystem::path keyFolder;

    Settings settings() const { return Settings(programFolder); }
    // The key folder; raises Error (no user settings folder) when it is empty.
    const std::filesystem::path& keyFolderOrError() const;
};

// The context of the running program: its own folder, real dialogs, the system's folders.
AppContext systemContext(Dialogs& dialogs);

}  // namespace vask
