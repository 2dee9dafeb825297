// Qt's own texts (the Yes and No of a question, the buttons of the file and folder
// dialogs, the edit boxes' context menu) in Japanese, whatever the system's locale: Qt's
// Japanese translation is built into the program as a resource, so that every build has
// it, the static Windows build too. A "translations/qtbase_ja.qm" in the program folder,
// as the Windows packages ship it, is taken instead, so that a user can replace it.
#pragma once

#include <filesystem>

class QCoreApplication;

namespace vask {

// Installs the translation for the application's lifetime: the program folder's file when
// it loads, else the built-in one; false when neither can be loaded.
bool installJapaneseQtTexts(QCoreApplication& application, const std::filesystem::path& programFolder);

}  // namespace vask
