#pragma once
/// \file
/// Runs tools/encodersim as a child process for the tests and hands out its
/// pseudo-terminal path; the simulator is stopped when the object goes.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace zrv::test {

class EncoderSimProcess {
public:
    /// Starts encodersim with \p args plus "--log <temp file>" and waits for
    /// the path line. path() is empty when it could not be started.
    explicit EncoderSimProcess(std::vector<std::string> args = {});
    ~EncoderSimProcess();
    EncoderSimProcess(const EncoderSimProcess&) = delete;
    EncoderSimProcess& operator=(const EncoderSimProcess&) = delete;

    const std::string& path() const { return path_; }
    /// The requests logged so far, one "ID DATA" line each.
    std::vector<std::string> requests() const;

private:
    pid_t pid_ = -1;
    std::string path_;
    std::filesystem::path log_;
};

/// Makes sure a Qt core application exists (the serial port needs one).
void EnsureQtApplication();

}  // namespace zrv::test
