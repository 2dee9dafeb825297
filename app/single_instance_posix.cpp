#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include "app/single_instance.h"

namespace vask {

struct SingleInstance::Lock {
    explicit Lock(const QString& path) : file(path) {}
    QLockFile file;
};

SingleInstance::SingleInstance() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    lock_ = std::make_unique<Lock>(QDir(folder).filePath(QStringLiteral("VaskMutex.lock")));
    // Held for the whole life of the program: only a dead owner makes the lock stale,
    // never its age.
    lock_->file.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire() { return lock_->file.tryLock(0); }

}  // namespace vask
