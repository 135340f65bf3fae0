// The send sequence: repetitions, counters, log lines and results, in View
// and against encodersim.
#include <gtest/gtest.h>

#include "ota/ota_send.h"
#include "tests/ota/encoder_sim_process.h"
#include "tests/support/test_support.h"

namespace zrv::ota {
namespace {

class OtaSendTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApplication();
        window.edtID = "1234567N12";
        window.edtTMID = "7654321N11";
        window.chkSysDate = false;
        window.chkLast = false;
        window.chkCmd = {};
        window.chkDateField = false;
        window.edtDateField = "1412301530";
        main.edtPrompt[32].record = 0x2CC;
        main.edtPrompt[33].record = 0x4B8;
    }
    SendResult View() { return sender.View(window, main, alert, image, log); }
    SendResult Send() { return sender.Send(window, main, alert, image, log); }
    std::vector<std::string> Keys() const {
        std::vector<std::string> out;
        for (const auto& m : notifier.shown) out.push_back(m.english);
        return out;
    }
    /// The header lines of the log (those with "  Len=").
    std::vector<std::string> Headers() const {
        std::vector<std::string> out;
        for (const auto& l : lines)
            if (l.find("  Len=") != std::string::npos) out.push_back(l);
        return out;
    }

    test::RecordingNotifier notifier;
    TCommPort port;
    EncoderLink link{port, notifier};
    OtaBuilder builder{notifier};
    OtaSender sender{builder, link, notifier};
    OtaWindowFields window;
    OtaMainFields main;
    OtaAlertFields alert;
    ConfigImage image;
    std::vector<std::string> lines;
    OtaSender::LogLine log = [this](const std::string& l) { lines.push_back(l); };
};

TEST_F(OtaSendTest, RepeatBelowOneOrNotANumberStopsAtOnce) {
    window.chkCmd[17] = true;
    for (const char* repeat : {"0", "x", "", "-2"}) {
        notifier.shown.clear();
        window.edtRepeat = repeat;
        EXPECT_EQ(View(), SendResult::Stopped) << repeat;
        EXPECT_EQ(Keys(), std::vector<std::string>{"Repeat times can not less than 1!"}) << repeat;
    }
    EXPECT_TRUE(lines.empty());
    // A count with leading zeros is still a number.
    notifier.shown.clear();
    window.edtRepeat = "0000000002";
    EXPECT_EQ(View(), SendResult::Success);
    EXPECT_EQ(Headers().size(), 2u);
}

TEST_F(OtaSendTest, NothingCheckedStillChecksTheControlId) {
    window.edtID = "N12";
    EXPECT_EQ(View(), SendResult::Stopped);
    EXPECT_EQ(Keys(), std::vector<std::string>{"PIN/ID fields is 4 - 10 digits Only!"});
    notifier.shown.clear();
    window.edtID = "1234567N12";
    EXPECT_EQ(View(), SendResult::Success);
    EXPECT_EQ(Keys(), std::vector<std::string>{"Transmit Success !"});
    EXPECT_TRUE(lines.empty());
}

TEST_F(OtaSendTest, PackageNumbersRunThroughOneRepetitionAndTheLastCommandCountsThem) {
    window.chkCmd[1] = window.chkCmd[2] = true;  // types 2 and 3
    window.chkLast = true;
    builder.batchNumber = 41;
    EXPECT_EQ(View(), SendResult::Success);
    const auto headers = Headers();
    ASSERT_EQ(headers.size(), 3u);
    EXPECT_NE(headers[0].find("  Pkg No.=01  Bth No.=41  OTA Type=2  CRC="), std::string::npos) << headers[0];
    EXPECT_NE(headers[1].find("  Pkg No.=02  Bth No.=41  OTA Type=3  CRC="), std::string::npos) << headers[1];
    EXPECT_NE(headers[2].find("  Pkg No.=03  Bth No.=41  OTA Type=255  CRC="), std::string::npos) << headers[2];
    EXPECT_EQ(builder.packageNumber, 2);  // the count carried by the last command
    EXPECT_EQ(builder.batchNumber, 42);   // View still advances the batch number
    // Four lines per command, three for the last one.
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[1], "Content of the data field:");
    EXPECT_EQ(headers[0].substr(headers[0].rfind("  Len=")), "  Len=" + std::to_string(lines[2].size()));
    EXPECT_EQ(lines[2].find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[10], builder.dataString());
    EXPECT_EQ(headers[2].substr(headers[2].rfind("  Len=")), "  Len=" + std::to_string(lines[10].size()));
    EXPECT_EQ(headers[0].find("Fill Norvex2"), std::string::npos);
    // The type-3 prompts were written back into the image.
    EXPECT_EQ(image.byte(0x2CC + 1), 18);
}

TEST_F(OtaSendTest, ManualBatchAndPackageNumbers) {
    window.chkCmd[17] = true;
    window.chkBat = false;
    window.edtBat = "07";
    window.chkPkgStr = false;
    window.edtPkgStr = "x";  // not a number: 1
    EXPECT_EQ(View(), SendResult::Success);
    ASSERT_EQ(Headers().size(), 1u);
    EXPECT_NE(Headers()[0].find("  Pkg No.=01  Bth No.=07"), std::string::npos);
    lines.clear();
    window.edtPkgStr = "42";
    EXPECT_EQ(View(), SendResult::Success);
    EXPECT_NE(Headers()[0].find("  Pkg No.=42  Bth No.=07"), std::string::npos);
}

TEST_F(OtaSendTest, AutoIncreasePsnBetweenRepetitions) {
    window.chkCmd[17] = true;
    window.edtPSN = "0fffe";
    window.edtRepeat = "3";
    window.chkIncPSN = true;
    EXPECT_EQ(View(), SendResult::Success);
    const auto headers = Headers();
    ASSERT_EQ(headers.size(), 3u);
    EXPECT_NE(headers[0].find("  SN=0fffe  "), std::string::npos);
    EXPECT_NE(headers[1].find("  SN=0FFFF  "), std::string::npos);
    EXPECT_NE(headers[2].find("  SN=10000  "), std::string::npos);
    EXPECT_EQ(window.edtPSN, "10000");
}

TEST_F(OtaSendTest, ConversionErrorEndsTheSendWithoutAResult) {
    window.chkCmd[17] = true;
    window.chkLast = true;
    window.edtPSN = "XYZ";
    EXPECT_EQ(View(), SendResult::Stopped);
    EXPECT_EQ(Keys(), std::vector<std::string>{"'XYZ' is not a valid integer value"});
    EXPECT_TRUE(lines.empty());
}

TEST_F(OtaSendTest, SendsTimeMessageCommandsAndLastCommandToTheEncoder) {
    test::EncoderSimProcess sim;
    ASSERT_FALSE(sim.path().empty());
    link.setPortName(sim.path());
    window.chkSysDate = true;
    window.edtDate = "09122026143005";
    window.chkCmd[17] = true;
    window.edtData = "ABCD";
    window.edtLength = "4";
    window.chkLast = true;
    EXPECT_EQ(Send(), SendResult::Success);
    EXPECT_EQ(Keys(), std::vector<std::string>{"Transmit Success !"});
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "TIME RIC:Capcode = 7654321N11   Format = 09122026143005");
    const auto requests = sim.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0], "7654321N11 09122026143005");
    EXPECT_EQ(requests[1], "1234567N12 " + lines[3]);
    EXPECT_EQ(requests[2], "1234567N12 " + lines[7]);
    // A real send adds the second fill: whole 20-bit words.
    EXPECT_NE(Headers()[0].find("  Fill Norvex2="), std::string::npos);
    EXPECT_EQ(lines[3].size() % 5, 0u);
    EXPECT_TRUE(builder.transmitFlag);
}

TEST_F(OtaSendTest, FailureOfTheSecondCommandStopsTheRest) {
    test::EncoderSimProcess sim({"--ack-first", "1"});
    ASSERT_FALSE(sim.path().empty());
    link.setPortName(sim.path());
    window.chkCmd[1] = window.chkCmd[2] = window.chkCmd[17] = true;
    window.chkLast = true;
    EXPECT_EQ(Send(), SendResult::TransmitError);
    EXPECT_EQ(Keys(), std::vector<std::string>{"Transmit Error !"});
    const auto requests = sim.requests();
    ASSERT_EQ(requests.size(), 11u);  // the first once, the second ten times
    EXPECT_EQ(Headers().size(), 2u);  // type 254 and the last command were not built
}

TEST_F(OtaSendTest, UnacknowledgedTimeMessageEndsTheSendWithOneError) {
    test::EncoderSimProcess sim({"--wrong-ack-byte"});
    link.setPortName(sim.path());
    window.chkSysDate = true;
    window.chkCmd[17] = true;
    window.edtRepeat = "2";
    EXPECT_EQ(Send(), SendResult::TransmitError);
    EXPECT_EQ(Keys(), std::vector<std::string>{"Transmit Error !"});
    EXPECT_EQ(sim.requests().size(), 10u);
    EXPECT_TRUE(Headers().empty());
}

TEST_F(OtaSendTest, PortFailureAfterOpeningEndsWithTransmitError) {
    auto sim = std::make_unique<test::EncoderSimProcess>(std::vector<std::string>{"--silent"});
    ASSERT_FALSE(sim->path().empty());
    EncoderLink lossy(port, notifier, [&sim] { sim.reset(); });
    lossy.setPortName(sim->path());
    OtaSender lossySender(builder, lossy, notifier);
    window.chkCmd[17] = true;
    EXPECT_EQ(lossySender.Send(window, main, alert, image, log), SendResult::TransmitError);
    EXPECT_EQ(Keys(), std::vector<std::string>{"Transmit Error !"});
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(lossySender.busy());
}

TEST_F(OtaSendTest, ViewNeverOpensThePort) {
    test::EncoderSimProcess sim;
    TCommPort holder;
    holder.Setup(9600, sim.path(), 1);
    link.setPortName(sim.path());
    window.chkSysDate = true;
    window.chkCmd[17] = true;
    window.chkLast = true;
    EXPECT_EQ(View(), SendResult::Success);
    EXPECT_EQ(Keys(), std::vector<std::string>{"Transmit Success !"});
    EXPECT_TRUE(sim.requests().empty());
    EXPECT_TRUE(link.transmitFlag);
    EXPECT_TRUE(builder.transmitFlag);
}

}  // namespace
}  // namespace zrv::ota
