#pragma once
/// \file
/// Only one window drives the programmer board: a lock file in the user's
/// runtime folder is held for the whole run. A second program started
/// meanwhile says so and ends before it probes or releases the board. A
/// lock left by a program that no longer runs does not count.

#include <QLockFile>
#include <QString>
#include <memory>

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

private:
    std::unique_ptr<QLockFile> lock_;
    bool acquired_ = false;
    QString refusal_;
};

}  // namespace zrv::app
