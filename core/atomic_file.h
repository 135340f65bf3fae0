#pragma once
/// \file
/// How every file the program saves reaches the disk: the new contents go to
/// a temporary file beside the target, which is flushed and renamed over the
/// target, so a save that fails or is killed half-way never leaves a damaged
/// file. And how a program that reads, changes and saves a file keeps others
/// from saving it in between: an advisory lock on the file. Standard C++ and
/// POSIX only.

#include <chrono>
#include <filesystem>
#include <string_view>

namespace zrv {

/// The outcome of a save.
enum class SaveStatus {
    Saved,
    /// The target exists and is not a regular file (a device, a FIFO, a
    /// folder, a socket, or a link to one): nothing was written.
    NotARegularFile,
    /// The target or its temporary file could not be written; the previous
    /// file, if any, is as it was.
    Failed,
};

/// Replaces \p path with \p bytes.
/// - Through a symbolic link the file it names is replaced; the link stays.
/// - A target that exists must be a regular file the program could open for
///   writing (a read-only file is not replaced behind the user's back); it is
///   looked at without ever blocking on it.
/// - The temporary file is readable by no one but the owner while it is
///   written: it has the replaced file's mode from the start, or for a new
///   file 0600 until the mode the umask gives it is set just before the
///   rename. It and the folder are flushed to the disk before the function
///   returns.
/// - Temporary files that an earlier save of the same target left behind
///   (its program was killed) are removed.
SaveStatus WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

/// An advisory lock (flock) on a file for the time a program reads, changes
/// and saves it. Saves replace the file by a rename, so the lock is taken on
/// the file the name leads to once the lock is held: a program that waited
/// on a file that was replaced meanwhile locks the new one.
class FileLock {
public:
    enum class Status {
        Locked,
        /// Another program held the file for longer than the wait.
        InUse,
        /// The name leads to something other than a regular file.
        NotARegularFile,
    };

    FileLock() = default;
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    /// Locks the file \p path leads to, waiting up to \p wait for a program
    /// that holds it. A file that does not exist yet, or that cannot be
    /// opened at all, is "locked" without holding anything: there is nothing
    /// another program could change under the caller.
    Status lock(const std::filesystem::path& path, std::chrono::milliseconds wait);
    /// True while a lock is held.
    bool held() const { return fd_ >= 0; }
    /// Gives the lock up (also done when the object goes).
    void release();

private:
    int fd_ = -1;
};

}  // namespace zrv
