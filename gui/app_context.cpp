#include "gui/app_context.h"

#include <QStandardPaths>

#include "core/messages.h"
#include "core/pseudonym_key.h"
#include "gui/qt_text.h"
#include "gui/shell_open.h"
#include "platform/errors.h"
#include "platform/paths.h"

namespace vask {

const std::filesystem::path& AppContext::keyFolderOrError() const {
    if (keyFolder.empty()) throw Error(std::u16string(msg::kNoUserSettingsFolder));
    return keyFolder;
}

AppContext systemContext(Dialogs& dialogs) {
    AppContext context;
    context.programFolder = executableFolder();
    context.dialogs = &dialogs;
    context.downloadsFolder = [] {
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return toPath(u16(folder));
    };
    context.openDocument = openWithShell;
    // A system without a user folder still runs every tool; the pseudonym key's users
    // report the missing folder when they need it.
    try {
        context.keyFolder = pseudonymKeyFolder();
    } catch (const Error&) {
        context.keyFolder.clear();
    }
    return context;
}

}  // namespace vask
