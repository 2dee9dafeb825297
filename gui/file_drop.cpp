#include "gui/file_drop.h"

#include <QDir>
#include <QDropEvent>
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
    FileDropFilter(QWidget* widget, FileDropHandler handler, bool singleFile)
        : QObject(widget), handler_(std::move(handler)), singleFile_(singleFile) {}

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
        const qsizetype count = localFiles(event->mimeData()).size();
        return count > 0 && (!singleFile_ || count == 1);
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
    bool singleFile_;
};

}  // namespace

void acceptFileDrops(QWidget* widget, FileDropHandler handler, bool singleFile) {
    widget->setAcceptDrops(true);
    widget->installEventFilter(new FileDropFilter(widget, std::move(handler), singleFile));
}

void acceptPathDrop(QLineEdit* box) {
    acceptFileDrops(
        box, [box](const QStringList& files) { box->setText(files.front()); }, true);
}

}  // namespace vask
