#include "app/single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace vask {

SingleInstance::SingleInstance() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    lock_ = std::make_unique<QLockFile>(QDir(folder).filePath(QStringLiteral("VaskMutex.lock")));
    // Held for the whole life of the program: only a dead owner makes the lock stale,
    // never its age.
    lock_->setStaleLockTime(0);
}

bool SingleInstance::acquire() { return lock_->tryLock(0); }

}  // namespace vask
