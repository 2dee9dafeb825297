#include "gui/file_drop.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

namespace vask {
namespace {

// The dropped local files, or nothing when the drop holds anything else.
QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile() || url.toLocalFile().isEmpty()) return {};
        files.append(QDir::toNativeSeparators(url.toLocalFile()));
    }
    return files;
}

// Watches the drag events of one widget; it eats them all, so that a path box does not
// take dropped text of its own accord.
class FileDropFilter : public QObject {
public:
    // `acceptable` decides on the dropped paths (never an empty list).
    using Acceptable = std::function<bool(const QStringList& files)>;
    FileDropFilter(QWidget* widget, FileDropHandler handler, Acceptable acceptable)
        : QObject(widget), handler_(std::move(handler)), acceptable_(std::move(acceptable)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove:
                answer(static_cast<QDropEvent*>(event));
                return true;
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                if (answer(drop)) handler_(localFiles(drop->mimeData()));
                return true;
            }
            default:
                return QObject::eventFilter(watched, event);
        }
    }

private:
    bool acceptable(const QDropEvent* event) const {
        const QStringList files = localFiles(event->mimeData());
        return !files.isEmpty() && acceptable_(files);
    }

    // Accepts or refuses the drag; true when it is accepted.
    bool answer(QDropEvent* event) const {
        if (!acceptable(event)) {
            event->ignore();
            return false;
        }
        // A copy where the source allows it: the source must never take a move as leave to
        // delete its file.
        if (event->possibleActions() & Qt::CopyAction) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->acceptProposedAction();
        }
        return true;
    }

    FileDropHandler handler_;
    Acceptable acceptable_;
};

}  // namespace

void acceptFileDrops(QWidget* widget, FileDropHandler handler, bool singleFile) {
    widget->setAcceptDrops(true);
    widget->installEventFilter(new FileDropFilter(widget, std::move(handler), [singleFile](const QStringList& files) {
        return !singleFile || files.size() == 1;
    }));
}

void acceptFolderDrop(QWidget* widget, std::function<void(const QString& folder)> handler) {
    widget->setAcceptDrops(true);
    widget->installEventFilter(new FileDropFilter(
        widget,
        [handler = std::move(handler)](const QStringList& files) {
            handler(QDir::toNativeSeparators(QDir::cleanPath(files.front())));
        },
        [](const QStringList& files) { return files.size() == 1 && QFileInfo(files.front()).isDir(); }));
}

void acceptPathDrop(QLineEdit* box) {
    acceptFileDrops(
        box, [box](const QStringList& files) { box->setText(files.front()); }, true);
}

}  // namespace vask
