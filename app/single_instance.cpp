#include "app/single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace zrv::app {

SingleInstance::SingleInstance(const QString& path) : lock_(std::make_unique<QLockFile>(path)) {
    // Only a lock whose program is gone is stale, however old it is.
    lock_->setStaleLockTime(0);
    acquired_ = lock_->tryLock(0);
    if (acquired_) return;
    qint64 pid = 0;
    QString host, application;
    if (lock_->error() == QLockFile::LockFailedError && lock_->getLockInfo(&pid, &host, &application)) {
        refusal_ = QStringLiteral("zrv41k is already running (process %1); only one window drives the "
                                  "programmer board. Use that window, or close it first.")
                       .arg(pid);
    } else {
        refusal_ = QStringLiteral("cannot create the lock file %1 that keeps a second zrv41k from the "
                                  "programmer board; check that its folder is writable.")
                       .arg(path);
    }
}

QString SingleInstance::DefaultPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("zrv41k.lock"));
}

}  // namespace zrv::app
