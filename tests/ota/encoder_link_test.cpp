// The control ID rules, the encoder frame, and transmissions to encodersim.
#include <gtest/gtest.h>

#include "ota/encoder_link.h"
#include "tests/ota/encoder_sim_process.h"
#include "tests/support/test_support.h"

namespace zrv::ota {
namespace {

std::string IdError(const std::string& id) {
    auto e = ControlIdError(id);
    return e ? e->english : "";
}

TEST(OtaControlId, RulesInOrder) {
    const std::string rule1 = "PIN/ID fields is 4 - 10 digits Only!";
    const std::string rule2 = "Please insert capecode between 8 to 2097151";
    EXPECT_EQ(IdError("N12"), rule1);  // the window's ID with an empty control capcode
    EXPECT_EQ(IdError(PadControlId("123")), rule2);
    EXPECT_EQ(PadControlId("123"), "0000000123");
    EXPECT_EQ(PadControlId("12345678901"), "12345678901");
    EXPECT_EQ(IdError("0000007N12"), rule2);
    EXPECT_EQ(IdError("0000008N12"), "");
    EXPECT_EQ(IdError("2097152A50"), rule2);
    EXPECT_EQ(IdError("2097151A50"), "");
    EXPECT_EQ(IdError("99999999999999999999N12"), rule2);  // no overflow into a valid capcode
    EXPECT_EQ(IdError("12 4567N12"), rule2);
    EXPECT_EQ(IdError("1000000X12"), "Message encoding type error!");
    EXPECT_EQ(IdError("1000000N62"), "RF data rate error!");
    EXPECT_EQ(IdError("1000000N15"), "Function code error!");
    for (char enc : std::string("0nN1aA")) EXPECT_EQ(IdError(std::string("12") + enc + "24"), "") << enc;
}

TEST(OtaControlId, ValidateShowsTheFirstBrokenRule) {
    test::RecordingNotifier notifier;
    TCommPort port;
    EncoderLink link(port, notifier);
    EXPECT_FALSE(link.ValidateControlId("1000000N62"));
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].english, "RF data rate error!");
    EXPECT_EQ(notifier.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(notifier.shown[0].boxCaption(), "ID/PIN Error");
    EXPECT_TRUE(link.ValidateControlId("1000000N12"));
    EXPECT_EQ(notifier.shown.size(), 1u);
}

TEST(OtaEncoderFrame, ChecksumCharactersAndLayout) {
    EXPECT_EQ(ChecksumCharacters(0x1A2F), "1:2?");
    EXPECT_EQ(ChecksumCharacters(0x0000), "0000");
    // STX (2) + '1' (0x31) + "AB" (0x41 + 0x42) = 0xB6.
    EXPECT_EQ(FrameSum("1", "AB"), 0xB6);
    EXPECT_EQ(BuildFrame("1", "AB"), std::string("\x02" "1AB00;6\x04"));
    // The sum is kept to 16 bits.
    EXPECT_EQ(FrameSum(std::string(300, '\xFF'), ""), static_cast<std::uint16_t>(2 + 300 * 255));
}

class EncoderLinkTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureQtApplication(); }
    test::RecordingNotifier notifier;
    TCommPort port;
    int pumps = 0;
    EncoderLink link{port, notifier, [this] { ++pumps; }};
};

TEST_F(EncoderLinkTest, AcknowledgedFrameSucceedsAndClosesThePort) {
    test::EncoderSimProcess sim;
    ASSERT_FALSE(sim.path().empty());
    link.setPortName(sim.path());
    EXPECT_TRUE(link.TransmitToEncoder("1234567N12", "0123ABCD"));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(link.TransmitToEncoder("1234567N11", "09122026143005"));
    EXPECT_EQ(sim.requests(), (std::vector<std::string>{"1234567N12 0123ABCD", "1234567N11 09122026143005"}));
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(EncoderLinkTest, WrongFifthByteOrChecksumFailsEveryOneOfTenAttempts) {
    for (const char* fault : {"--wrong-ack-byte", "--wrong-checksum"}) {
        test::EncoderSimProcess sim({fault});
        ASSERT_FALSE(sim.path().empty());
        link.setPortName(sim.path());
        EXPECT_FALSE(link.TransmitToEncoder("1234567N12", "00FF")) << fault;
        EXPECT_EQ(sim.requests().size(), 10u) << fault;  // the whole frame each time
        EXPECT_FALSE(port.IsOpen());
    }
    EXPECT_TRUE(notifier.shown.empty());  // the send sequence reports the result
}

TEST_F(EncoderLinkTest, AStrayByteBeforeTheAcknowledgementCostsNoRetries) {
    // Line noise: a byte that is no checksum character, and one that is.
    for (const char* noise : {"FF", "35"}) {
        SCOPED_TRACE(noise);
        test::EncoderSimProcess sim({"--noise-before-ack", noise});
        ASSERT_FALSE(sim.path().empty());
        link.setPortName(sim.path());
        EXPECT_TRUE(link.TransmitToEncoder("1234567N12", "0A"));
        EXPECT_TRUE(link.TransmitToEncoder("1234567N12", "0B")) << "the next frame is in step";
        EXPECT_EQ(sim.requests(), (std::vector<std::string>{"1234567N12 0A", "1234567N12 0B"}));
    }
}

TEST_F(EncoderLinkTest, SilentAttemptsTimeOutPurgeAndRetry) {
    test::EncoderSimProcess sim({"--ack-from", "2"});
    ASSERT_FALSE(sim.path().empty());
    link.setPortName(sim.path());
    EXPECT_TRUE(link.TransmitToEncoder("1234567N12", "0A"));
    EXPECT_EQ(sim.requests().size(), 2u);
    EXPECT_GE(pumps, 30);  // the window was kept alive while the first attempt waited
}

TEST_F(EncoderLinkTest, SilentEncoderGetsTenAttemptsOf31EmptyPolls) {
    test::EncoderSimProcess sim({"--silent"});
    ASSERT_FALSE(sim.path().empty());
    link.setPortName(sim.path());
    EXPECT_FALSE(link.TransmitToEncoder("1234567N12", "0A"));
    EXPECT_EQ(sim.requests().size(), 10u);
    // Each attempt waits 31 empty polls for its first byte, letting the
    // window repaint before each one.
    EXPECT_EQ(pumps, 10 * 31);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(EncoderLinkTest, PortThatCannotOpenShowsWhyAndFails) {
    link.setPortName("/dev/does-not-exist-ota");
    EXPECT_FALSE(link.TransmitToEncoder("1234567N12", "0A"));
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].english, "Error opening comm port. Port already in use?");

    test::EncoderSimProcess sim;
    TCommPort holder;
    holder.Setup(9600, sim.path(), 1);
    link.setPortName(sim.path());
    EXPECT_FALSE(link.TransmitToEncoder("1234567N12", "0A"));
    EXPECT_EQ(notifier.shown.back().english, "Error opening comm port. Port already in use?");
    EXPECT_TRUE(sim.requests().empty());
}

TEST(OtaEncoderLinkLoss, EncoderVanishingMidWaitClosesThePortAndThrows) {
    test::EnsureQtApplication();
    test::RecordingNotifier notifier;
    TCommPort port;
    auto sim = std::make_unique<test::EncoderSimProcess>(std::vector<std::string>{"--silent"});
    ASSERT_FALSE(sim->path().empty());
    // The first empty poll lets "the user" pull the cable: the simulator goes.
    EncoderLink link(port, notifier, [&sim] { sim.reset(); });
    link.setPortName(sim->path());
    std::uint8_t code = 0;
    try {
        link.TransmitToEncoder("1234567N12", "0A");
    } catch (const ECommError& e) {
        code = e.code;
    }
    // The line hangs up: reading the port status fails.
    EXPECT_EQ(code, kCommStatusFailed);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(EncoderLinkTest, ViewReturnsAtOnceWithoutOpeningThePort) {
    test::EncoderSimProcess sim;
    TCommPort holder;  // holding the port would make any open fail
    holder.Setup(9600, sim.path(), 1);
    link.setPortName(sim.path());
    link.transmitFlag = false;
    EXPECT_TRUE(link.TransmitToEncoder("1234567N12", "0A"));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_TRUE(sim.requests().empty());
}

}  // namespace
}  // namespace zrv::ota
