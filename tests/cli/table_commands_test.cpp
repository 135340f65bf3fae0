#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "core/capcodes.h"
#include "core/default_image.h"
#include "core/image_rules.h"
#include "core/table_file.h"
#include "tests/support/test_support.h"

namespace zrv {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::RunProgram;
using test::RunResult;
using test::TempDir;
using test::WriteFile;

RunResult Cli(const std::vector<std::string>& args) { return RunProgram("zrv41k-cli", args); }

std::string Bytes(const ConfigImage& image) {
    return std::string(image.bytes().begin(), image.bytes().end());
}

// The bytes of a valid table saved from \p image (the image is stamped).
std::string Saved(ConfigImage image) {
    ClearUnusedCapcodes(image, 16);
    StampIdentityForSave(image);
    StoreTableChecksum(image);
    return Bytes(image);
}

int Lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(CliNew, WritesTheStartupImageThroughTheSaveSteps) {
    TempDir dir;
    const auto path = (dir / "new.tbl").string();
    WriteFile(path, std::string(30000, 'x'));  // replaced, not kept at its length
    const auto r = Cli({"new", path});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFile(path), Saved(StartupImage()));
    const auto check = Cli({"check", path});
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_EQ(check.out, "ok: full\n");
}

TEST(CliNew, AnUnwritablePathGivesMsg57AndExit1) {
    TempDir dir;
    const auto r = Cli({"new", (dir / "missing" / "new.tbl").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Msg57: Save Error !\n");
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

// How a run of zrv41k-cli ended when it was given a file size limit and an
// alarm that ends it should it hang.
struct LimitedRun {
    int exitCode = -1;  ///< -1: ended by a signal
    bool hung = false;
    std::string err;
};

LimitedRun RunCliLimited(const std::vector<std::string>& args, rlim_t fileSizeLimit = RLIM_INFINITY) {
    TempDir io;
    const auto errPath = io / "stderr";
    const std::string exe = (test::BinDir() / "zrv41k-cli").string();
    std::vector<char*> argv{const_cast<char*>(exe.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(err, 2);
        struct rlimit limit {fileSizeLimit, fileSizeLimit};
        struct rlimit noCore {0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        setrlimit(RLIMIT_FSIZE, &limit);
        signal(SIGXFSZ, SIG_DFL);
        alarm(30);  // survives exec: ends a command that hangs
        ::execv(exe.c_str(), argv.data());
        _exit(127);
    }
    LimitedRun run;
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid) {
        if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
        run.hung = WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM;
    }
    run.err = ReadFile(errPath);
    return run;
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

/// Every command that saves into \p target: from the start-up image, from
/// \p source changed by \p change, from the exported \p json, and the
/// export itself.
std::vector<std::vector<std::string>> SavingCommands(const std::string& source, const std::string& json,
                                                     const std::string& target, const std::string& change) {
    return {{"new", target}, {"set", source, change, "-o", target}, {"import", json, target},
            {"export", source, "-o", target}};
}

// Every command that saves a file (a table or an export) refuses a target
// that exists and is not a regular file, says so and leaves it as it was;
// none of them waits on a FIFO.
TEST(CliSaves, RefuseTargetsThatAreNotRegularFilesWithoutBlocking) {
    TempDir dir;
    const auto source = (dir / "source.tbl").string();
    ASSERT_EQ(Cli({"new", source}).exitCode, 0);
    const auto json = (dir / "source.json").string();
    ASSERT_EQ(Cli({"export", source, "-o", json}).exitCode, 0);
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0644), 0);
    // A null device of the test's own: a faulty save can only harm this folder.
    ASSERT_EQ(mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    fs::create_directory(dir / "folder");
    fs::create_symlink(dir / "null", dir / "to-null.tbl");
    const struct {
        const char* target;
        fs::file_type type;
    } targets[] = {
        {"fifo", fs::file_type::fifo},
        {"to-null.tbl", fs::file_type::character},
        {"folder", fs::file_type::directory},
    };
    for (const auto& t : targets) {
        const std::string target = (dir / t.target).string();
        for (const auto& command : SavingCommands(source, json, target, "capcode.1=1000000")) {
            SCOPED_TRACE(command[0] + " " + t.target);
            const LimitedRun r = RunCliLimited(command);
            ASSERT_FALSE(r.hung);
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_NE(r.err.find("is not a regular file"), std::string::npos) << r.err;
            EXPECT_EQ(fs::status(dir / t.target).type(), t.type);
            EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"source.tbl", "source.json", "fifo", "null",
                                                                   "folder", "to-null.tbl"}));
        }
    }
}

// A save that the file size limit stops half-way reports the failure and
// leaves the previous file as it was, and no temporary file behind.
TEST(CliSaves, AWriteStoppedByTheFileSizeLimitKeepsThePreviousFile) {
    TempDir dir;
    const auto source = (dir / "source.tbl").string();
    ASSERT_EQ(Cli({"new", source}).exitCode, 0);
    ASSERT_EQ(Cli({"set", source, "capcode.1=1000000"}).exitCode, 0);
    const auto json = (dir / "source.json").string();
    ASSERT_EQ(Cli({"export", source, "-o", json}).exitCode, 0);
    const auto target = (dir / "target").string();
    for (const auto& command : SavingCommands(source, json, target, "capcode.1=1000001")) {
        SCOPED_TRACE(command[0]);
        const std::string previous = "a good file from before\n";
        WriteFile(target, previous);
        const auto names = Names(dir.path());
        const LimitedRun r = RunCliLimited(command, 4096);
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_FALSE(r.err.empty());
        EXPECT_EQ(ReadFile(target), previous);
        EXPECT_EQ(Names(dir.path()), names);
    }
}

// Commands changing one table file at the same time all keep their change:
// each waits for the one before instead of saving over it.
TEST(CliSaves, SetsOfOneFileAtTheSameTimeAllStay) {
    TempDir dir;
    const auto file = (dir / "shared.tbl").string();
    ASSERT_EQ(Cli({"new", file}).exitCode, 0);
    const std::string exe = (test::BinDir() / "zrv41k-cli").string();
    const auto spawn = [&](const std::string& assignment) {
        const pid_t pid = fork();
        if (pid == 0) {
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 1);
            ::dup2(null, 2);
            alarm(30);
            execl(exe.c_str(), exe.c_str(), "set", file.c_str(), assignment.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        return pid;
    };
    int lost = 0;
    for (int round = 0; round < 20; ++round) {
        std::string expected;
        std::vector<pid_t> writers;
        for (int slot = 1; slot <= 3; ++slot) {
            const std::string name = "capcode." + std::to_string(slot);
            const std::string value = std::to_string(1000000 + 100000 * slot + round);
            writers.push_back(spawn(name + "=" + value));
            expected += name + " = " + value + "\n";
        }
        for (const pid_t writer : writers) {
            int status = 0;
            ASSERT_EQ(waitpid(writer, &status, 0), writer);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        lost += Cli({"get", file, "capcode.1", "capcode.2", "capcode.3"}).out != expected;
    }
    EXPECT_EQ(lost, 0) << "rounds in which a change was lost";
}

TEST(CliUsage, MissingArgumentsUnknownOptionsAndHelp) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"new"}, {"check"}, {"info"}, {"diff", "a.tbl"}, {"dump"},
          {"info", "a.tbl", "--yaml"}, {"dump", "a.tbl", "--from"}, {"check", "a.tbl", "b.tbl"}}) {
        // One line saying what is wrong, one saying where the help is.
        const auto r = Cli(args);
        EXPECT_EQ(r.exitCode, 2) << args[0] << " " << r.err;
        EXPECT_EQ(r.err.rfind("zrv41k-cli " + args[0] + ": ", 0), 0u) << r.err;
        EXPECT_EQ(Lines(r.err), 2) << r.err;
        EXPECT_NE(r.err.find("\nsee 'zrv41k-cli " + args[0] + " --help'\n"), std::string::npos) << r.err;
    }
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"frobnicate"}}) {
        const auto r = Cli(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(Lines(r.err), 2) << r.err;
        EXPECT_NE(r.err.find("\nsee 'zrv41k-cli --help'\n"), std::string::npos) << r.err;
    }
    for (const char* command : {"new", "check", "info", "diff", "dump"}) {
        const auto r = Cli({command, "--help"});
        EXPECT_EQ(r.exitCode, 0) << command;
        EXPECT_EQ(r.out.rfind(std::string("Usage: zrv41k-cli ") + command, 0), 0u) << r.out;
    }
}

struct CliCheck : ::testing::Test {
    TempDir dir;
    std::string valid = Saved(StartupImage());
    std::string Put(const std::string& name, const std::string& bytes) {
        const auto p = (dir / name).string();
        WriteFile(p, bytes);
        return p;
    }
};

TEST_F(CliCheck, FullAndShortFilesPass) {
    EXPECT_EQ(Cli({"check", Put("f.tbl", valid)}).out, "ok: full\n");
    std::string shortForm = valid.substr(0, 3456);
    shortForm[0x36C] ^= 1;  // a short file's checksum is not checked
    const auto r = Cli({"check", Put("s.tbl", shortForm)});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "ok: short\n");
}

TEST_F(CliCheck, EachRejectionPrintsItsMessageAndLeavesTheFile) {
    std::string badSum = valid;
    badSum[0x7FF] = static_cast<char>(badSum[0x7FF] + 1);
    std::string badId = valid;
    badId[0x3E7] = 'Q';
    const struct { std::string path; std::string err; } cases[] = {
        {Put("sum.tbl", badSum), "Msg70: Checksum Error, the file will discard !\n"},
        {Put("empty.tbl", ""), "Msg61: The file size is error !\n"},
        {Put("cut.tbl", valid.substr(0, 22015)), "Msg61: The file size is error !\n"},
        {Put("long.tbl", valid + "x"), "Msg61: The file size is error !\n"},
        {(dir / "none.tbl").string(),
         "Msg62: Open Error ! [" + (dir / "none.tbl").string() + "]: No such file or directory\n"},
        {dir.path().string(), "Msg62: Open Error ! [" + dir.path().string() + "]: Is a directory\n"},
    };
    for (const auto& c : cases) {
        const std::string before = ReadFile(c.path);
        const auto r = Cli({"check", c.path});
        EXPECT_EQ(r.exitCode, 1) << c.path;
        EXPECT_EQ(r.err, c.err) << c.path;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(ReadFile(c.path), before);
    }
    const auto id = Put("id.tbl", badId);
    const auto r = Cli({"check", id});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Msg45: The [" + id + "] is not correct format, the file will discard !\n");
}

TEST_F(CliCheck, InfoSummarisesAFullFile) {
    auto image = StartupImage();
    StorePagerSerialNumber(image, "SN0000012345");
    StoreSerialNumberSum(image);
    SetCapcode(image, 15, 2097150);
    SetCapcodeOn(image, 15, true);
    const auto path = Put("i.tbl", Saved(image));
    const auto r = Cli({"info", path});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string checksum = std::to_string(TableChecksum(image));
    for (const std::string expected :
         {"identity:          ZR-V41K  V1.099\n", "form:              full (22016 bytes)\n",
          "(matches)", "band:              0 (130-180MHz-GP(RoHS))\n",
          "base frequency:    1370000 (137.0000 MHz)\n",
          "channel frequency: 1530000 (153.0000 MHz)\n", "character set:     8 (German)\n",
          "prompt language:   8 (German)\n", "serial number:     SN0000012345\n",
          "   1  1234567  ON\n", "   2  1234560  off\n", "  16  2097150  ON\n"})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
    EXPECT_EQ(r.out.find("  17  "), std::string::npos);
}

// The identity past the model name and a serial number whose sum holds come
// from the file unchecked: their control characters must not reach the
// terminal as escape sequences.
TEST_F(CliCheck, InfoShowsControlCharactersOfTheFileAsEscapes) {
    auto image = StartupImage();
    StorePagerSerialNumber(image, "\x1B[31mRED\x07\x9D" "2J");
    StoreSerialNumberSum(image);
    std::string bytes = Saved(image);
    bytes.replace(0x3E8, 4, "\x1B]0\x7F");
    const auto path = Put("e.tbl", bytes);
    const auto r = Cli({"info", path});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("identity:          ZR-V41K\\x1B]0\\x7F.099\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("serial number:     \\x1B[31mRED\\x07\\x9D2J\n"), std::string::npos) << r.out;
    for (char c : r.out) EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << int(c);
    const auto json = Cli({"info", path, "--json"});
    EXPECT_NE(json.out.find("\"serialNumber\":\"\\u001B[31mRED\\u0007\xC2\x9D" "2J\""), std::string::npos)
        << json.out;
}

TEST_F(CliCheck, InfoJsonIsOneObjectWithTheSameFacts) {
    auto image = StartupImage();
    image.setByte(0x65, 0x2F);  // a base frequency no band claims
    image.setByte(0x3A, 0x05);
    std::string shortForm = Saved(image).substr(0, 3456);
    const auto r = Cli({"info", Put("s.tbl", shortForm), "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Lines(r.out), 1);
    EXPECT_EQ(r.out.front(), '{');
    for (const std::string expected :
         {"\"form\":\"short\"", "\"size\":3456", "\"band\":null", "\"charsetCode\":5",
          "\"serialNumber\":null", "\"capcodesFromFile\":false",
          "{\"number\":1,\"capcode\":1234567,\"on\":true}", "\"identity\":\"ZR-V41K  V1.099\""})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
}

TEST_F(CliCheck, InfoOfARejectedFileGivesItsMessage) {
    std::string bad = valid;
    bad[0x200] ^= 0x40;
    const auto r = Cli({"info", Put("b.tbl", bad)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Msg70: Checksum Error, the file will discard !\n");
    EXPECT_EQ(r.out, "");
}

TEST_F(CliCheck, DiffNamesEachRangeByItsRegion) {
    const auto a = Put("a.tbl", valid);
    EXPECT_EQ(Cli({"diff", a, Put("same.tbl", valid)}).exitCode, 0);
    EXPECT_EQ(Cli({"diff", a, a}).out, "");
    std::string changed = valid;
    changed[0x1280] ^= 1;
    changed[0x1282] ^= 1;
    changed[0x1281] ^= 1;
    changed[0x1244] ^= 1;  // last byte of the capcode-on bitmap ...
    changed[0x1245] ^= 1;  // ... and the byte after it: two regions
    changed[0x5000] ^= 1;
    const auto r = Cli({"diff", a, Put("b.tbl", changed)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out,
              "0x1244-0x1244  capcode-on bitmap\n"
              "0x1245-0x1245  capcode block\n"
              "0x1280-0x1282  capcode slots\n"
              "0x5000-0x5000  unused text area\n");
}

TEST_F(CliCheck, DiffCountsTheBytesAShortFileLacks) {
    const auto full = Put("a.tbl", valid);
    const auto shortForm = Put("s.tbl", valid.substr(0, 3456));
    const auto r = Cli({"diff", shortForm, full});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out.rfind("0x0D80-0x0F7F  melody table (only in " + full + ")\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("0x4B00-0x55FF  unused text area (only in " + full + ")\n"), std::string::npos);
    const auto bad = Cli({"diff", full, Put("bad.tbl", "tiny")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err, "Msg61: The file size is error !\n");
}

TEST_F(CliCheck, DumpShowsSixteenBytesALineWithOffsetsAndCharacters) {
    const auto path = Put("d.tbl", valid);
    const auto r = Cli({"dump", path, "--from", "0x3E1", "--length", "16"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "0x03E1  5A 52 2D 56 34 31 4B 20  20 56 31 2E 30 39 39 00  |ZR-V41K  V1.099.|\n");
    const auto two = Cli({"dump", path, "--from=992", "--length=0x14"});
    EXPECT_EQ(Lines(two.out), 2);
    EXPECT_EQ(two.out.rfind("0x03E0  00 5A", 0), 0u) << two.out;
    const auto whole = Cli({"dump", path});
    EXPECT_EQ(Lines(whole.out), 22016 / 16);
    const auto tail = Cli({"dump", path, "--from", "0x55F8", "--length", "100"});
    EXPECT_EQ(Lines(tail.out), 1);  // clamped at the end of the file
    EXPECT_EQ(tail.out.rfind("0x55F8  FF FF FF FF FF FF FF FF", 0), 0u) << tail.out;
    EXPECT_EQ(Cli({"dump", path, "--length", "0"}).out, "");
}

TEST_F(CliCheck, DumpRefusesBadNumbersAndOffsetsPastTheEnd) {
    const auto path = Put("d.tbl", valid.substr(0, 3456));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"dump", path, "--from", "0xZZ"},
          {"dump", path, "--length", "-1"},
          {"dump", path, "--from", "3456"}}) {
        const auto r = Cli(args);
        EXPECT_EQ(r.exitCode, 2) << args[3];
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(Lines(Cli({"dump", path, "--from", "0xD70"}).out), 1);
}

}  // namespace
}  // namespace zrv
