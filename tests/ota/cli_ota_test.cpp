// zrv41k-cli ota build / send.
#include <gtest/gtest.h>

#include "tests/ota/encoder_sim_process.h"
#include "tests/support/test_support.h"

namespace zrv::test {
namespace {

TEST(CliOta, BuildPrintsTheWindowsLogLinesAndOpensNoPort) {
    const auto r = RunProgram("zrv41k-cli", {"ota", "build", "--type", "254", "--last", "--psn", "12345", "--date",
                                             "1412301530", "--batch", "5", "--control-id", "1234567N12", "--start",
                                             "1f", "--data", "0a0B", "--port", "/dev/does-not-exist-ota"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "Transmit Success !\n");
    const auto lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 7u) << r.out;
    EXPECT_EQ(lines[0].rfind("Date=1412301530  SN=12345  Pkg No.=01  Bth No.=05  OTA Type=254  CRC=", 0), 0u)
        << lines[0];
    EXPECT_EQ(lines[0].find("Fill Norvex2"), std::string::npos);
    EXPECT_EQ(lines[1], "Content of the data field:");
    // Serial, date, serial, package, batch, type, length 4, start 01F, data.
    EXPECT_EQ(lines[2].substr(0, 35), "12345141230153012345010" "5FE0401F0A0B");
    EXPECT_EQ(lines[3], "");
    EXPECT_NE(lines[4].find("  Pkg No.=02  Bth No.=05  OTA Type=255"), std::string::npos);
    // The last command carries the default prompts, the batch and one package.
    EXPECT_NE(lines[6].find("FF7472616E736D6974207375636365737320207472616E736D6974206572726F7220202020" "05" "01"),
              std::string::npos)
        << lines[6];
}

TEST(CliOta, FieldRulesOfTheWindowApply) {
    auto r = RunProgram("zrv41k-cli", {"ota", "build", "--type", "254", "--control-id", "1234567N12", "--data", "ABC"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "Please input even digits !\n");
    r = RunProgram("zrv41k-cli", {"ota", "build", "--type", "254", "--control-id", "1234567N12", "--start", "0G"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "Hex Only !\n");
    // The control ID is padded as the field is left: 123 becomes 0000000123.
    r = RunProgram("zrv41k-cli", {"ota", "build", "--type", "254", "--control-id", "123"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Please insert capecode between 8 to 2097151\n");
    r = RunProgram("zrv41k-cli", {"ota", "build", "--last"});  // window default ID "N12"
    EXPECT_EQ(r.err, "PIN/ID fields is 4 - 10 digits Only!\n");
    // Leaving the batch field pads the untouched ID to 0000000N12 as well.
    r = RunProgram("zrv41k-cli", {"ota", "build", "--last", "--batch", "3"});
    EXPECT_EQ(r.err, "Please insert capecode between 8 to 2097151\n");
    r = RunProgram("zrv41k-cli", {"ota", "build", "--last", "--control-id", "1234567N12", "--psn", "1234Z"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "'1234Z' is not a valid integer value\n");
    EXPECT_EQ(r.out, "");
}

TEST(CliOta, RefusesWhatItCannotBuild) {
    for (const char* type : {"6", "13"}) {
        const auto r = RunProgram("zrv41k-cli", {"ota", "build", "--type", type});
        EXPECT_EQ(r.exitCode, 2) << type;
        EXPECT_NE(r.err.find("not offered"), std::string::npos) << r.err;
    }
    auto r = RunProgram("zrv41k-cli", {"ota", "build", "--type", "2"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("give --table FILE.tbl"), std::string::npos) << r.err;  // its settings come from a table file
    for (const char* type : {"0", "18", "253"}) {  // no such command type at all
        r = RunProgram("zrv41k-cli", {"ota", "build", "--type", type});
        EXPECT_EQ(r.exitCode, 2) << type;
        EXPECT_NE(r.err.find("no OTA command type " + std::string(type)), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("main window"), std::string::npos) << r.err;
    }
    r = RunProgram("zrv41k-cli", {"ota", "build", "--time", "--control-id", "1234567N12"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("--time-id"), std::string::npos);
    r = RunProgram("zrv41k-cli", {"ota", "build", "--success", "this text is longer than 18"});
    EXPECT_EQ(r.exitCode, 2);
    r = RunProgram("zrv41k-cli", {"ota", "frobnicate"});
    EXPECT_EQ(r.exitCode, 2);
}

TEST(CliOta, SendTransmitsToTheEncoderAndReportsTheResult) {
    EncoderSimProcess sim;
    ASSERT_FALSE(sim.path().empty());
    auto r = RunProgram("zrv41k-cli",
                        {"ota", "send", "--port", sim.path(), "--time", "--time-id", "7654321N11", "--time-date",
                         "09122026143005", "--last", "--control-id", "1234567N12", "--ssn", "0123456789ABCDEF",
                         "--repeat", "2", "--auto-increase-psn", "--psn", "0FFFF"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "Transmit Success !\n");
    const auto lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 8u) << r.out;
    EXPECT_EQ(lines[0], "TIME RIC:Capcode = 7654321N11   Format = 09122026143005");
    EXPECT_NE(lines[1].find("  SN=0FFFF  "), std::string::npos);
    EXPECT_NE(lines[1].find("  Fill Norvex2="), std::string::npos);
    EXPECT_NE(lines[5].find("  SN=10000  "), std::string::npos);
    const auto requests = sim.requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[1], "1234567N12 " + lines[3]);
    EXPECT_EQ(lines[3].substr(0, 5), "0FFFF");  // the serial number stays in clear
    EXPECT_EQ(lines[7].substr(0, 5), "10000");

    EncoderSimProcess deaf({"--wrong-ack-byte"});
    r = RunProgram("zrv41k-cli", {"ota", "send", "--port", deaf.path(), "--last", "--control-id", "1234567N12"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Transmit Error !\n");

    r = RunProgram("zrv41k-cli", {"ota", "send", "--port", "/dev/does-not-exist-ota", "--last", "--control-id",
                                  "1234567N12"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Error opening comm port. Port already in use?\nTransmit Error !\n");
}

}  // namespace
}  // namespace zrv::test
