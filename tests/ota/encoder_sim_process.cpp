#include "tests/ota/encoder_sim_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <fstream>

#include <QCoreApplication>

#include "tests/support/test_support.h"

namespace zrv::test {

EncoderSimProcess::EncoderSimProcess(std::vector<std::string> args) {
    static std::atomic<int> serial{0};
    log_ = std::filesystem::temp_directory_path() /
           ("encodersim-" + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".log");
    std::filesystem::remove(log_);
    args.insert(args.begin(), {"--log", log_.string()});

    int out[2];
    if (::pipe(out) != 0) return;
    const std::string program = (BinDir() / "encodersim").string();
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n') path_ += c;
    ::close(out[0]);
}

EncoderSimProcess::~EncoderSimProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    std::filesystem::remove(log_);
}

std::vector<std::string> EncoderSimProcess::requests() const {
    std::vector<std::string> lines;
    std::ifstream in(log_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

void EnsureQtApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "ota_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

}  // namespace zrv::test
