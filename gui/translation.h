// Qt's own texts (the Yes and No of a question, the buttons of the file and folder
// dialogs, the edit boxes' context menu) in Japanese, whatever the system's locale: Qt's
// Japanese translation is built into the program as a resource, so that every build has
// it, the static Windows build too.
#pragma once

class QCoreApplication;

namespace vask {

// Installs the translation for the application's lifetime; false when it cannot be loaded.
bool installJapaneseQtTexts(QCoreApplication& application);

}  // namespace vask
