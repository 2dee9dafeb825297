#include "gui/app_context.h"

#include <QDesktopServices>
#include <QStandardPaths>
#include <QUrl>

#include "gui/qt_text.h"
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
    context.openDocument = [](const QString& document) {
        const QUrl url = document.contains(QStringLiteral("://")) ? QUrl(document) : QUrl::fromLocalFile(document);
        QDesktopServices::openUrl(url);
    };
    return context;
}

}  // namespace vask
