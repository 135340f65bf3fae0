#include "tests/support/test_support.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace zrv::test {

namespace {

// The programs the tests run record their transfers in a programming log of
// the tests' own, never in one the user's environment or window setting
// names (a tests' window uses its own program folder's).
const bool kTestsOwnLog = [] {
    const std::string build = std::filesystem::path(ZRV_BIN_DIR).parent_path().string();
    setenv("ZRV41K_LOG_DB", (build + "/test-programming-log.sqlite").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (build + "/test-config").c_str(), 1);
    return true;
}();

}  // namespace

TempDir::TempDir() {
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("zrv41k-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void RecordingNotifier::show(const Message& message) {
    shown.push_back(message);
    order_.push_back(message.key);
}

bool RecordingNotifier::ask(const Message& message) {
    asked.push_back(message);
    order_.push_back(message.key);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

Notifier::SaveChoice RecordingNotifier::askToSave(const Message& message) {
    if (saveChoices.empty()) return Notifier::askToSave(message);
    asked.push_back(message);
    order_.push_back(message.key);
    const SaveChoice choice = saveChoices.front();
    saveChoices.erase(saveChoices.begin());
    return choice;
}

std::vector<std::string> RecordingNotifier::keys() const { return order_; }

void RecordingNotifier::clear() {
    shown.clear();
    asked.clear();
    order_.clear();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t nl = text.find('\n', from);
        out.push_back(text.substr(from, nl - from));
        if (nl == std::string::npos) break;
        from = nl + 1;
    }
    return out;
}

std::filesystem::path BinDir() { return ZRV_BIN_DIR; }
std::filesystem::path SourceDir() { return ZRV_SOURCE_DIR; }

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& input) {
    TempDir io;
    const auto inPath = io / "stdin", outPath = io / "stdout", errPath = io / "stderr";
    WriteFile(inPath, input);
    const std::string exe = (BinDir() / program).string();

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(exe.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        const int in = ::open(inPath.c_str(), O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execv(exe.c_str(), argv.data());
        _exit(127);
    }
    RunResult result;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    return result;
}

}  // namespace zrv::test
