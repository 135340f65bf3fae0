#pragma once
/// \file
/// Only one window drives the programmer board: a lock file in the user's
/// runtime folder is held for the whole run, and whoever holds it is the
/// running program. A second program started meanwhile hands its table file
/// (or nothing, to bring the window forward) to the running one over a local
/// socket beside the lock and ends before it probes or releases the board.
/// A lock left by a program that no longer runs does not count, nor does the
/// socket such a program left behind.

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace zrv::app {

class SingleInstance {
public:
    /// Tries to take the lock file \p path.
    explicit SingleInstance(const QString& path);
    bool acquired() const { return acquired_; }
    /// Why the lock was not taken, for the user (empty when it was).
    const QString& refusal() const { return refusal_; }

    /// The lock file of the desktop program in the user's runtime folder.
    static QString DefaultPath();
    /// The local socket of the running program, beside DefaultPath().
    static QString DefaultServerName();

private:
    std::unique_ptr<QLockFile> lock_;
    bool acquired_ = false;
    QString refusal_;
};

/// The running program's end of the socket: each second program sends one
/// line, the table file as a file URL (empty: only bring the window
/// forward), and is answered as soon as the line has arrived, before the
/// file is opened, so that it can end at once.
class InstanceServer : public QObject {
public:
    /// Listens at \p name; a socket left there by a program that ended is
    /// removed first (only the lock's holder may do that).
    explicit InstanceServer(const QString& name, QObject* parent = nullptr);
    ~InstanceServer() override;
    bool listening() const;
    /// Why it does not listen, for the user.
    QString error() const;
    /// Calls \p handler with each handed-over file (empty for none), those
    /// that arrived before it was set first, each once the event loop runs.
    void setHandler(std::function<void(const QString& file)> handler);

private:
    void accept();
    void read(QLocalSocket* socket);
    void deliver();

    std::unique_ptr<QLocalServer> server_;
    std::function<void(const QString&)> handler_;
    QStringList pending_;
};

/// A second program's side: hands \p file (an absolute path, or empty to
/// bring the window forward) to the running program at \p name. True once
/// that program answered; false when nobody listens within \p connectWait
/// or the answer does not come within \p answerWait.
bool HandOver(const QString& name, const QString& file, std::chrono::milliseconds connectWait,
              std::chrono::milliseconds answerWait);

}  // namespace zrv::app
