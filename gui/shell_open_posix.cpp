#include <QDesktopServices>
#include <QUrl>

#include "gui/shell_open.h"

namespace vask {

bool openWithShell(const QString& document) {
    const QUrl url = document.contains(QStringLiteral("://")) ? QUrl(document) : QUrl::fromLocalFile(document);
    return QDesktopServices::openUrl(url);
}

}  // namespace vask
