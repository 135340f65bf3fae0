// The board connection check: a port the user may not open (from faked
// facts, since the tests may run as root), and zrv41k-cli doctor on a
// system without an adapter, on a faked adapter that leads to the board
// simulator, and on a port that another program holds.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "link/connection_check.h"
#include "link/qt_serial_line.h"
#include "tests/link/boardsim_process.h"

namespace zrv::link {
namespace {

namespace fs = std::filesystem;
using test::Boardsim;
using test::RunProgram;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

/// Runs zrv41k-cli doctor with the system's files below \p root ("" for
/// the real ones) and a simulator that answers at once.
test::RunResult Doctor(const std::vector<std::string>& args, const std::string& root = {}) {
    setenv(kReadPauseVariable, "0", 1);
    if (!root.empty()) setenv(kSystemRootVariable, root.c_str(), 1);
    std::vector<std::string> all{"doctor"};
    all.insert(all.end(), args.begin(), args.end());
    auto run = RunProgram("zrv41k-cli", all);
    unsetenv(kSystemRootVariable);
    return run;
}

TEST(ConnectionCheck, APortTheUserMayNotOpenIsExplainedWithItsFix) {
    constexpr unsigned kDialout = 20;
    const struct {
        const char* what;
        std::vector<unsigned> groups;         // of the process
        std::vector<std::string> members;     // of dialout in /etc/group
        unsigned owner, mode;
        Severity severity;
        const char* text;
        const char* command;
    } cases[] = {
        {"not in the group", {1000}, {}, 0, S_IFCHR | 0660, Severity::Problem,
         "/dev/ttyUSB0 may not be opened by alice: it belongs to the group dialout (crw-rw----), and alice is not "
         "in that group.",
         "sudo usermod -aG dialout alice"},
        {"added, login older", {1000}, {"bob", "alice"}, 0, S_IFCHR | 0660, Severity::Problem,
         "/dev/ttyUSB0 belongs to the group dialout, which alice joined after this login began: the group counts "
         "only from the next login.",
         ""},
        {"in the group", {1000, kDialout}, {"alice"}, 0, S_IFCHR | 0660, Severity::Ok,
         "/dev/ttyUSB0 can be opened by alice (crw-rw----, owner root, group dialout).", ""},
        {"root's alone", {1000, kDialout}, {"alice"}, 0, S_IFCHR | 0600, Severity::Problem,
         "/dev/ttyUSB0 may be opened by root only (crw-------).",
         "sudo cp packaging/60-zrv41k.rules /etc/udev/rules.d/ && sudo udevadm control --reload-rules && sudo "
         "udevadm trigger"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ConnectionFacts facts;
        facts.user = "alice";
        facts.uid = 1000;
        facts.groups = c.groups;
        facts.groupFile = ParseGroupFile("root:x:0:\ndialout:x:20:" + [&] {
            std::string list;
            for (const auto& m : c.members) list += (list.empty() ? "" : ",") + m;
            return list;
        }() + "\nalice:x:1000:\n");
        facts.portsGiven = true;
        facts.ports.push_back({"/dev/ttyUSB0", true, true, c.owner, kDialout, c.mode, "root", "dialout", {}});
        const auto findings = AssessConnection(facts);
        const auto port = std::find_if(findings.begin(), findings.end(), [](const Finding& f) {
            return f.topic == Topic::Permission || f.topic == Topic::Port;
        });
        ASSERT_NE(port, findings.end());
        EXPECT_EQ(port->severity, c.severity);
        EXPECT_EQ(port->text.english, c.text);
        EXPECT_EQ(port->command, c.command);
        const auto main = MainProblem(findings);
        EXPECT_EQ(main.has_value(), c.severity == Severity::Problem);
        if (main) {
            EXPECT_EQ(main->topic, Topic::Permission) << "the port is the reason, before everything else";
            EXPECT_FALSE(main->fix.english.empty());
            EXPECT_TRUE(CallsForConnectionCheck(*main));
        }
    }
}

TEST(ConnectionCheck, WithoutAnAdapterTheDoctorSaysSoAndFindsNoBoard) {
    test::TempDir root;  // a system with nothing plugged in
    const auto text = Doctor({}, root.path().string());
    EXPECT_EQ(text.exitCode, 1) << text.err;
    EXPECT_EQ(text.out.rfind("PROBLEM  No USB-serial adapter is plugged in.\n", 0), 0u) << text.out;
    EXPECT_TRUE(Has(text.out, "PROBLEM  There is no serial port to look for the board on.")) << text.out;
    EXPECT_TRUE(Has(text.out, "\nboard: none\n")) << text.out;

    const auto json = Doctor({"--json"}, root.path().string());
    EXPECT_EQ(json.exitCode, 1);
    const auto doc = nlohmann::json::parse(json.out);
    EXPECT_TRUE(doc["board"].is_null());
    EXPECT_TRUE(doc["adapters"].empty());
    ASSERT_FALSE(doc["findings"].empty());
    EXPECT_EQ(doc["findings"][0]["severity"], "problem");
    EXPECT_EQ(doc["findings"][0]["topic"], "adapter");
    EXPECT_EQ(doc["findings"][0]["command"], "sudo dmesg | tail -n 20");
}

/// Writes \p text into \p path, making its folders.
void Put(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    test::WriteFile(path, text);
}

TEST(ConnectionCheck, TheDoctorListsTheAdapterTheProgramsInTheWayAndThePagerOfAnAnsweringBoard) {
    test::TempDir pagerDir;
    test::WriteMemoryFile(pagerDir / "pager.tbl", test::SampleImage());
    Boardsim board({"--table", (pagerDir / "pager.tbl").string(), "--serial", "PAGER0000777", "--firmware", "12"});
    // A Prolific adapter as sysfs shows it, whose device leads to the simulator.
    test::TempDir root;
    const fs::path r = root.path();
    const fs::path usb = r / "sys/devices/pci0000:00/usb1/1-1";
    Put(usb / "idVendor", "067b\n");
    Put(usb / "idProduct", "2303\n");
    Put(usb / "manufacturer", "Prolific Technology Inc.\n");
    Put(usb / "product", "USB-Serial Controller\n");
    const fs::path port = usb / "1-1:1.0/ttyUSB0";
    fs::create_directories(r / "sys/bus/usb-serial/drivers/pl2303");
    fs::create_directories(port / "tty/ttyUSB0");
    fs::create_directory_symlink(r / "sys/bus/usb-serial/drivers/pl2303", port / "driver");
    fs::create_directory_symlink("../..", port / "tty/ttyUSB0/device");
    Put(port / "tty/ttyUSB0/dev", "188:0\n");
    fs::create_directories(r / "sys/class/tty");
    fs::create_directory_symlink(port / "tty/ttyUSB0", r / "sys/class/tty/ttyUSB0");
    fs::create_directories(r / "dev/serial/by-id");
    fs::create_symlink(board.path(), r / "dev/ttyUSB0");
    fs::create_symlink("../../ttyUSB0", r / "dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0");
    // ModemManager runs, and udev has not told it to leave the adapter alone;
    // brltty is installed with its rule for CH340 adapters.
    Put(r / "proc/4242/comm", "ModemManager\n");
    Put(r / "run/udev/data/c188:0", "E:ID_VENDOR_ID=067b\n");
    Put(r / "usr/bin/brltty", "");
    Put(r / "usr/lib/udev/rules.d/85-brltty.rules", "ENV{PRODUCT}==\"1a86/7523/*\", ENV{BRLTTY_BRAILLE_DRIVER}=\"bm\"\n");
    Put(r / "etc/group", "root:x:0:\ndialout:x:20:\n");

    const auto run = Doctor({}, r.string());
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    for (const char* line : {
             "ok       USB-serial adapter /dev/ttyUSB0: Prolific Technology Inc. USB-Serial Controller, driver pl2303, "
             "USB ID 067b:2303.\n",
             "warning  brltty, a driver for braille displays, is installed with udev rules that take CH340 and CP210x "
             "USB-serial adapters (/usr/lib/udev/rules.d/85-brltty.rules)",
             "             sudo apt remove brltty\n",
             "warning  ModemManager is running and may open /dev/ttyUSB0 to look for a modem",
             "             sudo systemctl disable --now ModemManager\n",
             "ok       The programmer board answers on /dev/ttyUSB0.\n",
             "ok       Pager in the board: ZR-V41K  V1.09, firmware 1.2, serial number PAGER0000777.\n",
             "\nboard: /dev/ttyUSB0\n"})
        EXPECT_TRUE(Has(run.out, line)) << line << "\n---\n" << run.out;
    EXPECT_FALSE(Has(run.out, "PROBLEM")) << run.out;
    const auto lines = board.log();
    EXPECT_EQ(lines.back(), "control r 0") << "the board is left released, as the doctor found it";

    const auto json = nlohmann::json::parse(Doctor({"--json"}, r.string()).out);
    EXPECT_EQ(json["board"], "/dev/ttyUSB0");
    EXPECT_EQ(json["pager"]["serial"], "PAGER0000777");
    ASSERT_EQ(json["adapters"].size(), 1u);
    EXPECT_EQ(json["adapters"][0]["by_id"],
              "/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0");
    EXPECT_EQ(json["adapters"][0]["vendor"], "067b");
}

TEST(ConnectionCheck, APortHeldByAnotherProgramIsNamedWithThatProgram) {
    Boardsim board;
    QtSerialLine holder;  // this test is the other program
    ASSERT_EQ(holder.open(board.path()), 0);
    const auto run = Doctor({"--port", board.path()});
    EXPECT_EQ(run.exitCode, 1) << run.out;
    const std::string self = "link_tests (pid " + std::to_string(::getpid()) + ")";
    EXPECT_TRUE(Has(run.out, "PROBLEM  " + board.path() + " is in use by " + self + ".\n")) << run.out;
    EXPECT_TRUE(Has(run.out, "Close that program")) << run.out;
    EXPECT_TRUE(Has(run.out, "\nboard: none\n")) << run.out;
    holder.close();
    EXPECT_TRUE(board.log().empty()) << "nothing reached the board through the held port";
}

}  // namespace
}  // namespace zrv::link
