#include "core/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>

namespace zrv {
namespace fs = std::filesystem;

namespace {

/// Closes a descriptor when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = other.take();
        }
        return *this;
    }
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    /// Hands the descriptor over; it is no longer closed here.
    int take() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    /// Closes now; false when the close reported an error.
    bool reset() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

/// The file a save replaces: through a symbolic link, the file it names.
fs::path SaveTarget(const fs::path& path) {
    std::error_code ec;
    if (fs::is_symlink(path, ec)) {
        const auto real = fs::weakly_canonical(path, ec);
        if (!ec) return real;
    }
    return path;
}

fs::path FolderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

/// Temporary files of one target share a prefix made from the target's name
/// (the name itself may be near the file system's length limit), so a later
/// save can find those a killed program left.
std::string TemporaryPrefix(const fs::path& target) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    const fs::path name = target.filename();
    for (const unsigned char c : name.native()) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, ".zrv-%016llx-", static_cast<unsigned long long>(hash));
    return buf;
}

/// Removes the temporary files of \p target whose program no longer runs.
void RemoveStaleTemporaries(const fs::path& target) {
    const std::string prefix = TemporaryPrefix(target);
    std::error_code ec;
    for (fs::directory_iterator it(FolderOf(target), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(prefix, 0) != 0 || name.size() < 4 || name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        long pid = 0;
        try {
            pid = std::stol(name.substr(prefix.size()));
        } catch (const std::exception&) {
            continue;
        }
        if (pid <= 0 || pid == ::getpid()) continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            std::error_code removeEc;
            fs::remove(it->path(), removeEc);
        }
    }
}

/// The mode a new file gets from the process's umask, read without changing
/// it (another thread may be creating a file at the same moment).
mode_t NewFileMode() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            try {
                return static_cast<mode_t>(0666 & ~std::stoul(line.substr(6), nullptr, 8));
            } catch (const std::exception&) {
                break;
            }
        }
    }
    const mode_t mask = ::umask(077);
    ::umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int fd, std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

void SyncFolder(const fs::path& folder) {
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.ok()) ::fsync(dir.get());
}

}  // namespace

SaveStatus WriteFileAtomically(const fs::path& path, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    const fs::path target = SaveTarget(path);

    // What is there now is looked at by its name first, so that a device or
    // a FIFO is never opened; the descriptor opened afterwards (never
    // blocking) proves the file may be written and is still a regular file.
    struct stat previous {};
    bool exists = false;
    if (::stat(target.c_str(), &previous) == 0) {
        if (!S_ISREG(previous.st_mode)) return SaveStatus::NotARegularFile;
        Descriptor probe(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!probe.ok()) return SaveStatus::Failed;
        if (::fstat(probe.get(), &previous) != 0) return SaveStatus::Failed;
        if (!S_ISREG(previous.st_mode)) return SaveStatus::NotARegularFile;
        exists = true;
    } else if (errno != ENOENT) {
        return SaveStatus::Failed;
    }

    RemoveStaleTemporaries(target);
    const std::string prefix = TemporaryPrefix(target);
    fs::path temp;
    Descriptor out;
    for (int attempt = 0; attempt < 16 && !out.ok(); ++attempt) {
        temp = FolderOf(target) /
               (prefix + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp");
        out = Descriptor(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!out.ok() && errno != EEXIST) return SaveStatus::Failed;
    }
    if (!out.ok()) return SaveStatus::Failed;

    bool ok = true;
    if (exists) {
        // The replaced file keeps its owner (where the program may give it)
        // and its mode, set before any byte is written. A file the program
        // may not give away becomes the saver's.
        if (previous.st_uid != ::geteuid() || previous.st_gid != ::getegid()) {
            const int given = ::fchown(out.get(), previous.st_uid, previous.st_gid);
            static_cast<void>(given);
        }
        ok = ::fchmod(out.get(), previous.st_mode & 07777) == 0;
    }
    ok = ok && WriteAll(out.get(), bytes);
    if (ok && !exists) ok = ::fchmod(out.get(), NewFileMode()) == 0;
    ok = ok && ::fsync(out.get()) == 0;
    ok = out.reset() && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return SaveStatus::Failed;
    }
    SyncFolder(FolderOf(target));
    return SaveStatus::Saved;
}

// ---------------------------------------------------------------- FileLock

FileLock::FileLock(FileLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        release();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

FileLock::~FileLock() { release(); }

void FileLock::release() {
    if (fd_ >= 0) ::close(fd_);  // closing the last descriptor ends the flock
    fd_ = -1;
}

FileLock::Status FileLock::lock(const fs::path& path, std::chrono::milliseconds wait) {
    release();
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;; std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
        if (std::chrono::steady_clock::now() > deadline + std::chrono::seconds(1)) return Status::InUse;
        struct stat named {};
        if (::stat(path.c_str(), &named) != 0) return Status::Locked;  // nothing there yet
        if (!S_ISREG(named.st_mode)) return Status::NotARegularFile;
        Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!fd.ok()) fd = Descriptor(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!fd.ok()) {
            if (errno == ENOENT) continue;  // removed since the look: look again
            return Status::Locked;          // unreadable and unwritable: no save can happen anyway
        }
        struct stat opened {};
        if (::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) return Status::NotARegularFile;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            // A save that held the lock may have renamed a new file over the
            // name meanwhile; the lock then belongs on that one.
            struct stat now {};
            if (::stat(path.c_str(), &now) == 0 && now.st_dev == opened.st_dev && now.st_ino == opened.st_ino) {
                fd_ = fd.take();  // kept open: the lock lives on it
                return Status::Locked;
            }
            continue;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) return Status::Locked;  // no locks on this file system
        if (std::chrono::steady_clock::now() >= deadline) return Status::InUse;
    }
}

}  // namespace zrv
