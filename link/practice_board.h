#pragma once
/// \file
/// The practice board: the board simulator (boardsim, installed beside the
/// program) with a sample pager in it, run as a child process on its own
/// pseudo-terminal, so that every operation can be tried without hardware.
/// The simulator ends with this object, and with the program should the
/// program end without it.

#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <string>

namespace zrv::link {

class PracticeBoard {
public:
    /// The serial number of the practice pager: no real pager has it.
    static constexpr const char* kSerial = "PRACTICE0001";

    /// Starts \p simulator with a pager that holds the start-up
    /// configuration; started() tells whether it runs.
    explicit PracticeBoard(const std::filesystem::path& simulator);
    ~PracticeBoard();
    PracticeBoard(const PracticeBoard&) = delete;
    PracticeBoard& operator=(const PracticeBoard&) = delete;

    bool started() const { return !port_.empty(); }
    /// The simulator's terminal: the port to use as the board's.
    const std::string& port() const { return port_; }
    /// Why it did not start.
    const std::string& error() const { return error_; }
    /// The simulator's process id (0 once it has ended).
    qint64 processId() const { return process_.processId(); }

private:
    QTemporaryDir folder_;
    QProcess process_;
    std::string port_;
    std::string error_;
};

/// The board simulator as the package installs it: beside the program in
/// \p programFolder, else on the PATH; empty when there is none.
std::filesystem::path FindBoardSimulator(const std::filesystem::path& programFolder);

}  // namespace zrv::link
