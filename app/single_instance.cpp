#include "app/single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QUrl>

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

QString SingleInstance::DefaultServerName() {
    QString lock = DefaultPath();
    lock.chop(QStringLiteral(".lock").size());
    return lock + QStringLiteral(".socket");
}

// The hand-over -----------------------------------------------------------------------------------

namespace {

/// The longest line a second program sends: a file URL of a long path.
constexpr qint64 kMaxRequest = 64 * 1024;
const QByteArray kAnswer = QByteArrayLiteral("ok\n");

}  // namespace

InstanceServer::InstanceServer(const QString& name, QObject* parent)
    : QObject(parent), server_(std::make_unique<QLocalServer>()) {
    QLocalServer::removeServer(name);
    server_->setSocketOptions(QLocalServer::UserAccessOption);  // the user's own programs only
    server_->listen(name);
    connect(server_.get(), &QLocalServer::newConnection, this, &InstanceServer::accept);
}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::listening() const { return server_->isListening(); }

QString InstanceServer::error() const { return server_->errorString(); }

void InstanceServer::setHandler(std::function<void(const QString&)> handler) {
    handler_ = std::move(handler);
    if (!pending_.isEmpty()) QTimer::singleShot(0, this, &InstanceServer::deliver);
}

void InstanceServer::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
        read(socket);  // the line may have come with the connection
    }
}

void InstanceServer::read(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxRequest) socket->abort();  // no line of ours
        return;
    }
    const QByteArray line = socket->readLine(kMaxRequest).trimmed();
    const QUrl url = QUrl::fromEncoded(line, QUrl::StrictMode);
    if (!line.isEmpty() && !url.isLocalFile()) {
        socket->abort();
        return;
    }
    socket->write(kAnswer);
    socket->flush();
    socket->disconnectFromServer();
    // The file opens after the answer has gone: opening may ask the user first.
    pending_ << (line.isEmpty() ? QString() : url.toLocalFile());
    if (handler_) QTimer::singleShot(0, this, &InstanceServer::deliver);
}

void InstanceServer::deliver() {
    while (handler_ && !pending_.isEmpty()) handler_(pending_.takeFirst());
}

bool HandOver(const QString& name, const QString& file, std::chrono::milliseconds connectWait,
              std::chrono::milliseconds answerWait) {
    QLocalSocket socket;
    // The running program listens from the moment it took the lock; a few
    // tries cover a start that took the lock a moment ago.
    QDeadlineTimer connectDeadline(connectWait);
    for (;;) {
        socket.connectToServer(name);
        if (socket.waitForConnected(static_cast<int>(connectDeadline.remainingTime()))) break;
        if (connectDeadline.hasExpired()) return false;
        QThread::msleep(50);
    }
    const QByteArray line = (file.isEmpty() ? QByteArray() : QUrl::fromLocalFile(file).toEncoded()) + '\n';
    socket.write(line);
    if (!socket.waitForBytesWritten(static_cast<int>(answerWait.count()))) return false;
    QDeadlineTimer answerDeadline(answerWait);
    QByteArray answer;
    while (!answer.contains('\n') && socket.waitForReadyRead(static_cast<int>(answerDeadline.remainingTime())))
        answer += socket.readAll();
    answer += socket.readAll();
    return answer.startsWith(kAnswer);
}

}  // namespace zrv::app
