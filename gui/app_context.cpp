#include "gui/app_context.h"

#include <QStandardPaths>

#include "gui/qt_text.h"
#include "gui/shell_open.h"
#include "platform/paths.h"

namespace vask {

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
    return context;
}

}  // namespace vask
