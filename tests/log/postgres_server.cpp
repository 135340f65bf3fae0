#include "tests/log/postgres_server.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace zrv::test {

namespace fs = std::filesystem;

namespace {

/// The newest installed server's programs: /usr/lib/postgresql/N/bin.
std::string ServerPrograms() {
    std::string best;
    int bestVersion = -1;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
        const auto bin = entry.path() / "bin";
        if (!fs::exists(bin / "initdb", ec) || !fs::exists(bin / "pg_ctl", ec)) continue;
        const int version = std::atoi(entry.path().filename().c_str());
        if (version > bestVersion) {
            bestVersion = version;
            best = bin.string();
        }
    }
    return best;
}

}  // namespace

PostgresServer::PostgresServer() : bin_(ServerPrograms()) {
    if (bin_.empty()) {
        why_ = "PostgreSQL is not installed (Debian package postgresql)";
        return;
    }
    asNobody_ = geteuid() == 0;
    folder_ = (dir_ / "pg").string();
    fs::create_directory(folder_);
    if (asNobody_) {
        const passwd* nobody = getpwnam("nobody");
        if (!nobody) {
            why_ = "there is no user nobody to run the server as";
            return;
        }
        fs::permissions(dir_.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                         fs::perms::others_read | fs::perms::others_exec);
        if (chown(folder_.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) {
            why_ = "cannot give the server's folder to nobody";
            return;
        }
    }
    const std::string data = folder_ + "/data";
    if (run({bin_ + "/initdb", "-D", data, "-U", "zrv", "-A", "trust", "-E", "UTF8", "--locale=C", "--no-sync"}) != 0) {
        why_ = "initdb failed (see " + folder_ + ")";
        return;
    }
    // No TCP port: the socket in the server's folder is the only way in.
    if (run({bin_ + "/pg_ctl", "-D", data, "-l", folder_ + "/server.log", "-w", "-t", "60", "-o",
             "-k " + folder_ + " -c listen_addresses= -F", "start"}) != 0) {
        why_ = "pg_ctl could not start the server (see " + folder_ + "/server.log)";
        return;
    }
    running_ = true;
}

PostgresServer::~PostgresServer() {
    if (running_) run({bin_ + "/pg_ctl", "-D", folder_ + "/data", "-m", "immediate", "-w", "stop"});
}

int PostgresServer::run(const std::vector<std::string>& command) {
    std::vector<std::string> words;
    if (asNobody_) words = {"/usr/sbin/runuser", "-u", "nobody", "--"};
    words.insert(words.end(), command.begin(), command.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    const std::string output = folder_ + "/commands.log";
    const pid_t pid = fork();
    if (pid == 0) {
        FILE* out = std::fopen(output.c_str(), "a");
        if (out) {
            dup2(fileno(out), 1);
            dup2(fileno(out), 2);
        }
        if (chdir(folder_.c_str()) != 0) _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

std::string PostgresServer::url() const {
    std::string host;
    for (char c : folder_) host += c == '/' ? std::string("%2F") : std::string(1, c);
    return "postgresql://zrv@" + host + "/postgres";
}

}  // namespace zrv::test
