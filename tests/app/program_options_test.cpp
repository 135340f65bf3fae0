// The built zrv41k answers --help and --version without a display: no
// platform named, no X11 or Wayland display in its environment.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace zrv::test {
namespace {

/// Removes environment variables for the lifetime of the object (the
/// programs started meanwhile inherit the reduced environment).
class WithoutVariables {
public:
    explicit WithoutVariables(std::vector<std::string> names) {
        for (auto& name : names) {
            const char* value = std::getenv(name.c_str());
            saved_.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
            ::unsetenv(name.c_str());
        }
    }
    ~WithoutVariables() {
        for (const auto& [name, value] : saved_)
            if (value) ::setenv(name.c_str(), value->c_str(), 1);
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

RunResult RunWithoutDisplay(const std::vector<std::string>& args) {
    const WithoutVariables noDisplay({"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"});
    return RunProgram("zrv41k", args);
}

TEST(ProgramOptions, HelpAndVersionAnswerWithoutADisplay) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"-h"}, {"--port", "/dev/ttyUSB0", "--help"}}) {
        const RunResult help = RunWithoutDisplay(args);
        EXPECT_EQ(help.exitCode, 0) << args.back() << "\n" << help.err;
        EXPECT_EQ(help.out.rfind("Usage: zrv41k ", 0), 0u) << help.out;
        for (const char* option : {"--port PATH", "--channel-spacing", "--version"})
            EXPECT_NE(help.out.find(option), std::string::npos) << option;
        EXPECT_EQ(help.err, "");
    }
    const RunResult version = RunWithoutDisplay({"--version"});
    EXPECT_EQ(version.exitCode, 0) << version.err;
    EXPECT_EQ(version.out, "zrv41k 1.09\n");
    EXPECT_EQ(version.err, "");
}

}  // namespace
}  // namespace zrv::test
