// The serial port class over real pseudo-terminals.
#include <gtest/gtest.h>

#include <termios.h>

#include "ota/comm_port.h"
#include "tests/ota/encoder_sim_process.h"

namespace zrv::ota {
namespace {

class CommPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApplication();
        ASSERT_FALSE(sim.path().empty()) << "encodersim did not start";
    }
    test::EncoderSimProcess sim;
};

std::uint8_t CodeOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const ECommError& e) {
        return e.code;
    }
    return 0;
}

TEST_F(CommPortTest, StartsClosedWithTheFirstSerialPortAndRefusesIoWhileClosed) {
    TCommPort port;
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.PortName(), "/dev/ttyS0");
    EXPECT_EQ(port.BaudRate(), 9600u);
    const std::uint8_t byte = 0x41;
    EXPECT_EQ(CodeOf([&] { port.BytesWaiting(); }), kCommNotOpen);
    EXPECT_EQ(CodeOf([&] { port.Write(&byte, 1); }), kCommNotOpen);
    EXPECT_EQ(CodeOf([&] { port.ReadByte(); }), kCommNotOpen);
    EXPECT_EQ(CodeOf([&] { port.Purge(); }), kCommNotOpen);
    EXPECT_EQ(CodeOf([&] { port.Close(); }), 0);  // closing a closed port is nothing
}

TEST_F(CommPortTest, SetupOpensOnceAndKeepsTheNameWhileOpen) {
    TCommPort port;
    port.Setup(9600, sim.path(), 1);
    ASSERT_TRUE(port.IsOpen());
    const int handle = port.NativeHandle();
    port.Open();  // already open: the same device stays
    EXPECT_EQ(port.NativeHandle(), handle);
    EXPECT_EQ(CodeOf([&] { port.SetPortName("/dev/null"); }), kCommPortOpen);
    EXPECT_EQ(port.PortName(), sim.path());
    const std::uint8_t byte = 0;
    EXPECT_EQ(CodeOf([&] { port.Write(&byte, 0); }), 0);  // count 0: nothing written
    EXPECT_EQ(CodeOf([&] { port.Write(nullptr, 5); }), 0);
    EXPECT_EQ(port.BytesWaiting(), 0u);
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.NativeHandle(), -1);
}

TEST_F(CommPortTest, ModesSetTheCharacterFormatOfTheLine) {
    struct Expect {
        int mode;
        bool twoStops;
    };
    for (const Expect e : {Expect{1, false}, Expect{5, true}}) {
        TCommPort port;
        port.Setup(4800, sim.path(), e.mode);
        ASSERT_TRUE(port.IsOpen());
        termios t{};
        ASSERT_EQ(tcgetattr(port.NativeHandle(), &t), 0);
        EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8)) << e.mode;
        EXPECT_EQ(t.c_cflag & PARENB, 0u) << e.mode;
        EXPECT_EQ((t.c_cflag & CSTOPB) != 0, e.twoStops) << e.mode;
        EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B4800)) << e.mode;
        EXPECT_EQ(t.c_cflag & CRTSCTS, 0u) << e.mode;  // no flow control
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u) << e.mode;
        // A pseudo-terminal has no modem lines, so DTR and RTS cannot be checked here.
    }
    // Mode 0 asks for 7 data bits, even parity, 2 stop bits. A Linux
    // pseudo-terminal always runs 8 bits without parity, so it refuses the
    // line settings: the open fails with code 15 and the port stays closed,
    // with the requested format kept in the object.
    TCommPort port;
    EXPECT_EQ(CodeOf([&] { port.Setup(9600, sim.path(), 0); }), kCommSetStateFailed);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.DataBits(), 7);
    EXPECT_EQ(port.Parity(), CommParity::Even);
    EXPECT_EQ(port.StopBits(), 2);
    port.Setup(9600, sim.path(), 1);  // the device was released: it opens again
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(CommPortTest, PortHeldByAnotherOwnerFailsWithCode8AndStaysClosed) {
    TCommPort holder;
    holder.Setup(9600, sim.path(), 1);
    ASSERT_TRUE(holder.IsOpen());
    TCommPort second;
    EXPECT_EQ(CodeOf([&] { second.Setup(9600, sim.path(), 1); }), kCommOpenFailed);
    EXPECT_FALSE(second.IsOpen());
    holder.Close();
    second.Open();  // free again
    EXPECT_TRUE(second.IsOpen());

    TCommPort missing;
    EXPECT_EQ(CodeOf([&] { missing.Setup(9600, "/dev/does-not-exist-ota", 1); }), kCommOpenFailed);
    EXPECT_FALSE(missing.IsOpen());
}

TEST_F(CommPortTest, BaudRateChangesOnAnOpenPortAndABadRateIsRefused) {
    TCommPort port;
    port.Setup(9600, sim.path(), 1);
    port.SetBaudRate(19200);
    termios t{};
    ASSERT_EQ(tcgetattr(port.NativeHandle(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), B19200);
    EXPECT_EQ(CodeOf([&] { port.SetBaudRate(0); }), kCommBadBaudRate);
    EXPECT_EQ(port.BaudRate(), 19200u);
}

}  // namespace
}  // namespace zrv::ota
