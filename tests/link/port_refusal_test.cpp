// A port the user may not open: the probe names the device and the group
// that gives access, instead of only finding no board; and a port already in
// use is refused to a second user instead of being shared.
#include <gtest/gtest.h>

#include "link/programmer_link.h"
#include "link/qt_serial_line.h"
#include "tests/link/boardsim_process.h"
#include "tests/support/test_support.h"

namespace zrv::link {
namespace {

/// A line whose ports all refuse to open; \p permission tells whether for
/// lack of permission.
class RefusingLine : public SerialLine {
public:
    explicit RefusingLine(bool permission) : permission_(permission) {}
    int open(const std::string& port) override {
        refusal_ = permission_ ? PortPermissionRefusal(port) : std::string();
        return -1;
    }
    int setLineParameters() override { return -1; }
    int close() override { return -1; }
    int status() override { return -1; }
    int flush() override { return -1; }
    int send(const std::uint8_t*, std::size_t) override { return -1; }
    int receivedCount() override { return -1; }
    int read(std::uint8_t*, std::size_t) override { return -1; }
    int readByte() override { return -1; }
    bool waitForBytes(int) override { return false; }
    std::string openRefusal() const override { return refusal_; }

private:
    bool permission_;
    std::string refusal_;
};

TEST(PortRefusal, APortWithoutPermissionIsNamedWithTheDialoutGroup) {
    test::RecordingNotifier notifier;
    RefusingLine denied(true);
    ProgrammerLink link(denied, notifier);
    link.setPortOverride({"/dev/ttyUSB3", "/dev/ttyUSB4"});
    EXPECT_FALSE(link.ProbeBoard());
    EXPECT_NE(link.PortRefusal.find("/dev/ttyUSB3"), std::string::npos) << link.PortRefusal;
    EXPECT_NE(link.PortRefusal.find("dialout"), std::string::npos) << link.PortRefusal;

    RefusingLine absent(false);
    ProgrammerLink other(absent, notifier);
    other.setPortOverride({"/dev/ttyUSB3"});
    EXPECT_FALSE(other.ProbeBoard());
    EXPECT_TRUE(other.PortRefusal.empty());
}

}  // namespace
}  // namespace zrv::link

namespace zrv::link {
namespace {

TEST(PortRefusal, APortAlreadyOpenIsRefusedToASecondUser) {
    test::Boardsim board;
    QtSerialLine first, second;
    ASSERT_EQ(first.open(board.path()), 0);
    EXPECT_NE(second.open(board.path()), 0);  // never two users of one port
    first.close();
    EXPECT_EQ(second.open(board.path()), 0);
    second.close();
}

}  // namespace
}  // namespace zrv::link

namespace zrv::link {
namespace {

// What the command line says when the board's port cannot be opened: the
// reason, never "not responding" and never the dialout group for a port
// that is missing or that another program holds.
TEST(PortRefusal, TheCommandLineNamesAMissingOrBusyPort) {
    setenv(kReadPauseVariable, "0", 1);
    test::TempDir dir;
    test::WriteMemoryFile(dir / "in.tbl", test::SampleImage());
    test::Boardsim board;
    QtSerialLine holder;  // another program has the board's port open
    ASSERT_EQ(holder.open(board.path()), 0);
    const std::string missing = "/dev/zrv-no-such-port";
    const std::string busy = board.path();
    const struct { std::vector<std::string> args; std::string err; } cases[] = {
        {{"ports", "--port", missing}, "zrv41k-cli: no such device: " + missing + "\n"},
        {{"read", "--port", missing, (dir / "out.tbl").string()}, "zrv41k-cli: no such device: " + missing + "\n"},
        {{"ports", "--port", busy},
         "zrv41k-cli: another program is using " + busy + " (close it, then try again)\n"},
        {{"verify", "--port", busy, (dir / "in.tbl").string()},
         "zrv41k-cli: another program is using " + busy + " (close it, then try again)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[2]);
        const auto run = test::RunProgram("zrv41k-cli", c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, c.err);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out.tbl"));
    EXPECT_TRUE(board.log().empty()) << "nothing reached the board through the held port";
}

}  // namespace
}  // namespace zrv::link
