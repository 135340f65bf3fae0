// Which serial ports are probed for the board, in which order.
#include <gtest/gtest.h>

#include <set>

#include "link/programmer_link.h"

using namespace zrv::link;

namespace {
auto nothingExists = [](const std::string&) { return false; };
}

TEST(PortDiscovery, SerialDriversOnlyOrderedByTheirNumber) {
    const std::vector<SerialDevice> devices = {
        {"/dev/ttyUSB7", "ttyUSB7", "ftdi_sio", true},
        {"/dev/ttyS4", "ttyS4", "serial8250", false},  // a UART slot without hardware
        {"/dev/ttyUSB3", "ttyUSB3", "pl2303", true},
        {"/dev/ttyACM1", "ttyACM1", "cdc_acm", true},
        {"/dev/ttyS0", "ttyS0", "serial8250", true},
        {"/dev/ttyX2", "ttyX2", "bluetooth", true},     // not a serial driver
        {"/dev/ttyUSB10", "ttyUSB10", "cp210x", true},
        {"/dev/ttyUSB", "ttyUSB", "pl2303", true},       // no port number: not listed
    };
    EXPECT_EQ(OrderPortCandidates(devices, nothingExists),
              (std::vector<std::string>{"/dev/ttyS0", "/dev/ttyACM1", "/dev/ttyUSB3",
                                        "/dev/ttyUSB7", "/dev/ttyUSB10"}));
}

TEST(PortDiscovery, WithoutSerialDevicesTheFirstSixteenPortsStandIn) {
    const std::set<std::string> existing = {"/dev/ttyS0", "/dev/ttyS3", "/dev/ttyS15", "/dev/ttyS16"};
    const auto exists = [&](const std::string& p) { return existing.count(p) > 0; };
    const std::vector<SerialDevice> none = {{"/dev/ttyS9", "ttyS9", "serial8250", false}};
    EXPECT_EQ(OrderPortCandidates(none, exists),
              (std::vector<std::string>{"/dev/ttyS0", "/dev/ttyS3", "/dev/ttyS15"}));
    EXPECT_TRUE(OrderPortCandidates({}, nothingExists).empty());
}
