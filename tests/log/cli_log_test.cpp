// zrv41k-cli records every transfer in the programming log, against the
// board simulator: the pager's facts and its memory as the board holds it,
// the image given back byte for byte, a log that cannot be written never
// failing a transfer, twenty programs logging at once, a PostgreSQL server.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QProcess>
#include <algorithm>
#include <fcntl.h>
#include <regex>
#include <random>
#include <set>
#include <thread>

#include <nlohmann/json.hpp>

#include "core/table_file.h"
#include "tests/link/boardsim_process.h"
#include "tests/log/log_test_support.h"
#include "tests/log/postgres_server.h"

namespace zrv::test {
namespace {

namespace fs = std::filesystem;
using proglog::ProgrammingRecord;

/// The id in "zrv41k-cli: logged as record N" lines of \p err, in order.
std::vector<long long> LoggedIds(const std::string& err) {
    static const std::regex line("zrv41k-cli: logged as record ([0-9]+)");
    std::vector<long long> ids;
    for (std::sregex_iterator m(err.begin(), err.end(), line), end; m != end; ++m) ids.push_back(std::stoll((*m)[1]));
    return ids;
}

class CliLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureCoreApplication();
        setenv("ZRV41K_READ_PAUSE_MS", "0", 1);  // the simulator answers at once
        table = SampleImage();
        SetCapcode(table, 0, 100);
        SetCapcodeOn(table, 0, true);
        SetCapcode(table, 1, 200);
        StoreTableChecksum(table);
        WriteFile(dir / "in.tbl", Bytes(table));
        db = (dir / "log.sqlite").string();
    }
    RunResult cli(std::vector<std::string> args, const std::string& database) {
        args.insert(args.end(), {"--log-db", database});
        return RunProgram("zrv41k-cli", args);
    }
    ProgrammingRecord stored(long long id, const std::string& database) {
        const auto log = OpenLog({proglog::KindOf(database), database, "--log-db", false});
        std::string error;
        auto r = log ? log->record(id, error) : std::nullopt;
        EXPECT_TRUE(r) << error;
        return r.value_or(ProgrammingRecord{});
    }
    std::size_t count(const std::string& database) {
        std::string error;
        const auto log = OpenLog(SqliteTarget(database));
        const auto all = log ? log->query({}, error) : std::nullopt;
        return all ? all->size() : 0;
    }

    TempDir dir;
    ConfigImage table;
    std::string db;
};

TEST_F(CliLogTest, EveryTransferIsRecordedWithThePagerAsTheBoardHoldsIt) {
    Boardsim board({"--firmware", "12"});
    const std::string port = board.path(), in = (dir / "in.tbl").string();
    struct Step {
        std::vector<std::string> args;
        PagerOperation operation;
        std::vector<std::uint32_t> firstCapcodes;  // one record each
    };
    const Step steps[] = {
        {{"write", "--yes", "--port", port, in}, PagerOperation::Write, {100}},
        {{"read", "--port", port, (dir / "out.tbl").string()}, PagerOperation::Read, {100}},
        {{"verify", "--port", port, in}, PagerOperation::Verify, {100}},
        {{"write", "--yes", "--port", port, in, "--auto-increment", "1", "--count", "3", "--no-wait"},
         PagerOperation::RepeatedWrite, {100, 101, 102}},
    };
    long long next = 1;
    for (const Step& step : steps) {
        const auto run = cli(step.args, db);
        ASSERT_EQ(run.exitCode, 0) << step.args[0] << run.err;
        const auto ids = LoggedIds(run.err);
        ASSERT_EQ(ids.size(), step.firstCapcodes.size()) << run.err;
        const ConfigImage pager = board.memory();
        for (std::size_t k = 0; k < ids.size(); ++k) {
            EXPECT_EQ(ids[k], next++);
            const ProgrammingRecord r = stored(ids[k], db);
            EXPECT_EQ(r.operation, step.operation) << step.args[0];
            EXPECT_EQ(r.result, "ok");
            EXPECT_EQ(r.serial, "Qant0000000");
            EXPECT_EQ(r.firmware, 12);
            EXPECT_EQ(r.port, port);
            EXPECT_EQ(r.boardFirmware, "01 00");
            ASSERT_EQ(r.capcodes.size(), 16u);
            EXPECT_EQ(r.capcodes[0], (proglog::RecordedCapcode{1, step.firstCapcodes[k], true}));
            EXPECT_EQ(r.capcodes[1].capcode, 200u);
            // The last record of a step holds what the board holds now.
            if (k + 1 == ids.size()) {
                EXPECT_EQ(r.image, pager) << step.args[0];
                EXPECT_EQ(r.sha256, proglog::ImageSha256(pager)) << step.args[0];
            }
        }
    }
    EXPECT_EQ(stored(1, db).tableFile, fs::absolute(in).string());

    // The repeated write's last pager, given back byte for byte.
    const auto show = cli({"log", "show", "6", "-o", (dir / "back.tbl").string()}, db);
    EXPECT_EQ(show.exitCode, 0) << show.err;
    EXPECT_NE(show.out.find("Operation: repeated write\n"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("Capcode 1: 0000102 ON\n"), std::string::npos) << show.out;
    EXPECT_EQ(ReadFile(dir / "back.tbl"), Bytes(board.memory()));

    // --no-log leaves the log alone; a failed read is recorded without image.
    // (The pager holds capcode 102 now, so the file does not verify.)
    EXPECT_EQ(cli({"verify", "--no-log", "--port", port, in}, db).out.rfind("Verify Error!", 0), 0u);
    EXPECT_EQ(count(db), 6u);
    Boardsim blank;
    const auto failed = cli({"read", "--port", blank.path(), (dir / "x.tbl").string()}, db);
    EXPECT_EQ(failed.exitCode, 1);
    ASSERT_EQ(LoggedIds(failed.err), std::vector<long long>{7});
    const ProgrammingRecord r7 = stored(7, db);
    EXPECT_EQ(r7.result, "Read Error! Msg16: This pager is not ZR-V41K !");
    EXPECT_FALSE(r7.image);
    EXPECT_EQ(cli({"log", "show", "7", "-o", (dir / "none.tbl").string()}, db).exitCode, 1);
    EXPECT_FALSE(fs::exists(dir / "none.tbl"));

    // A batch job's row keeps its customer and where it came from.
    WriteFile(dir / "job.csv", "name,customer,capcode.1\nq1,Acme Paging,1401\n");
    const auto batch = cli({"batch", (dir / "job.csv").string(), "--template", in, "--port", port, "--yes"}, db);
    EXPECT_EQ(batch.exitCode, 0) << batch.err;
    ASSERT_EQ(LoggedIds(batch.err), std::vector<long long>{8}) << batch.err;
    const ProgrammingRecord r8 = stored(8, db);
    EXPECT_EQ(r8.customer, "Acme Paging");
    EXPECT_EQ(r8.note, "batch " + (dir / "job.csv").string() + ", row 1 (q1)");
    EXPECT_EQ(r8.capcodes.at(0).capcode, 1401u);

    // The listings find the pagers by capcode and serial number.
    const auto csv = SplitLines(cli({"log", "--capcode", "101", "--csv"}, db).out);
    ASSERT_EQ(csv.size(), 2u);
    EXPECT_EQ(csv[1].rfind("5,", 0), 0u) << csv[1];
    const auto json = nlohmann::json::parse(cli({"log", "--serial", "Qant0000000", "--limit", "2", "--json"}, db).out);
    ASSERT_EQ(json.size(), 2u);
    EXPECT_EQ(json[0]["id"], 8);
    EXPECT_EQ(json[1]["capcodes"][0]["capcode"], 102);
    EXPECT_EQ(cli({"log", "--since", "2024-02-30"}, db).exitCode, 2);
}

TEST_F(CliLogTest, AWriteSucceedsAndWarnsWhenTheLogsFolderIsReadOnly) {
    // A log made earlier, in a folder the writing program may not change.
    const fs::path folder = dir / "shared";
    fs::create_directory(folder);
    const std::string log = (folder / "log.sqlite").string();
    {
        Boardsim earlier({"--firmware", "12"});
        ASSERT_EQ(cli({"write", "--yes", "--port", earlier.path(), (dir / "in.tbl").string()}, log).exitCode, 0);
    }
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(log, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string before = ReadFile(log);

    Boardsim board({"--firmware", "12"});
    // Root may write anywhere: run as nobody then, on the board's terminal
    // itself and a copy of the program that nobody can reach.
    const bool root = geteuid() == 0;
    const fs::path program = dir / "zrv41k-cli";
    fs::copy_file(BinDir() / "zrv41k-cli", program);
    const std::string terminal = fs::read_symlink(board.path()).string();
    if (root) {
        ASSERT_EQ(chmod(terminal.c_str(), 0666), 0);
    }
    const std::vector<std::string> args{program.string(), "write", "--yes", "--port", terminal,
                                        (dir / "in.tbl").string(), "--log-db", log};
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = ::open((dir / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open((dir / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        if (root) {
            const passwd* nobody = getpwnam("nobody");
            if (!nobody || setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0)
                _exit(126);
        }
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    const std::string err = ReadFile(dir / "stderr");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << err;
    EXPECT_EQ(ReadFile(dir / "stdout"), "Write Success!\n");
    EXPECT_NE(err.find("zrv41k-cli: warning: the write is not in the programming log: the programming log " + log),
              std::string::npos)
        << err;
    EXPECT_EQ(CapcodeAt(board.memory(), 0), 100u) << "the pager was written";
    EXPECT_EQ(ReadFile(log), before) << "the log is as it was";
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(IntegrityOf(log), "ok");
}

TEST_F(CliLogTest, TwentyProgramsLoggingAtOnceAllSucceed) {
    constexpr int kPrograms = 20;
    std::vector<std::unique_ptr<Boardsim>> boards;
    std::vector<std::unique_ptr<QProcess>> programs;
    for (int k = 0; k < kPrograms; ++k)
        boards.push_back(std::make_unique<Boardsim>(std::vector<std::string>{"--table", (dir / "in.tbl").string()}));
    for (int k = 0; k < kPrograms; ++k) {
        auto p = std::make_unique<QProcess>();
        p->start(QString::fromStdString((BinDir() / "zrv41k-cli").string()),
                 {"read", "--port", QString::fromStdString(boards[k]->path()),
                  QString::fromStdString((dir / ("out" + std::to_string(k) + ".tbl")).string()), "--log-db",
                  QString::fromStdString(db)});
        programs.push_back(std::move(p));
    }
    std::set<long long> ids;
    for (auto& p : programs) {
        ASSERT_TRUE(p->waitForFinished(60000));
        const std::string err = p->readAllStandardError().toStdString();
        EXPECT_EQ(p->exitCode(), 0) << err;
        for (long long id : LoggedIds(err)) ids.insert(id);
    }
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(kPrograms));
    EXPECT_EQ(count(db), static_cast<std::size_t>(kPrograms));
    EXPECT_EQ(IntegrityOf(db), "ok");
}

TEST_F(CliLogTest, AKilledWriterLeavesEveryRecordWholeAndTheFileSound) {
    // Killed in the middle of its work, five times: each time after its
    // 100th record, at a moment drawn anew each round (up to 5 ms later),
    // while it stores the next ones. The pause only moves the moment of
    // the kill; nothing here depends on how long anything takes.
    constexpr int kRounds = 5, kEach = 100;
    std::mt19937 draw(std::random_device{}());
    for (int round = 0; round < kRounds; ++round) {
        QProcess writer;
        writer.start(QString::fromStdString((BinDir() / "log_writer").string()), {QString::fromStdString(db)});
        ASSERT_TRUE(writer.waitForStarted(5000));
        int appended = 0;
        while (appended < kEach && writer.waitForReadyRead(10000))
            while (writer.canReadLine()) appended += writer.readLine().startsWith("appended") ? 1 : 0;
        ASSERT_GE(appended, kEach) << writer.readAllStandardError().toStdString();
        std::this_thread::sleep_for(std::chrono::microseconds(draw() % 5000));
        writer.kill();
        writer.waitForFinished(5000);
    }

    EXPECT_EQ(IntegrityOf(db), "ok");
    const auto log = OpenLog(SqliteTarget(db));
    ASSERT_TRUE(log);
    std::string error;
    const auto all = log->query({}, error);
    ASSERT_TRUE(all) << error;
    EXPECT_GE(all->size(), static_cast<std::size_t>(kRounds * kEach));
    for (const auto& r : *all) {
        const auto whole = log->record(r.id, error);
        ASSERT_TRUE(whole) << error;
        EXPECT_EQ(whole->capcodes.size(), 16u) << r.id;
        EXPECT_TRUE(whole->image) << r.id;
    }
    // The log takes new records as before.
    EXPECT_TRUE(log->append(proglog::MakeRecord(OperationFacts{}), error)) << error;
}

TEST_F(CliLogTest, TheCommandLineLogsOnAPostgresServer) {
    PostgresServer server;
    if (!server.installed()) GTEST_SKIP() << "skipped: " << server.why();
    ASSERT_TRUE(server.running()) << server.why();
    Boardsim board({"--firmware", "12"});
    const auto write = cli({"write", "--yes", "--port", board.path(), (dir / "in.tbl").string()}, server.url());
    ASSERT_EQ(write.exitCode, 0) << write.err;
    ASSERT_EQ(LoggedIds(write.err), std::vector<long long>{1}) << write.err;
    const auto show = cli({"log", "show", "1", "-o", (dir / "back.tbl").string()}, server.url());
    EXPECT_EQ(show.exitCode, 0) << show.err;
    EXPECT_NE(show.out.find("Serial number: Qant0000000\n"), std::string::npos) << show.out;
    EXPECT_EQ(ReadFile(dir / "back.tbl"), Bytes(board.memory()));
}

}  // namespace
}  // namespace zrv::test
