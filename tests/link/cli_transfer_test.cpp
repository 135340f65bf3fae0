// zrv41k-cli ports, read, write and verify against the board simulator.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>

#include <sys/stat.h>

#include "core/capcodes.h"
#include "core/default_image.h"
#include "core/field_table.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"
#include "core/table_file.h"
#include "tests/link/boardsim_process.h"

using namespace zrv;
using zrv::test::Boardsim;
using zrv::test::RunProgram;

namespace {

class CliTransfer : public ::testing::Test {
protected:
    void SetUp() override {
        // The simulator answers at once: no pause before its replies.
        setenv("ZRV41K_READ_PAUSE_MS", "0", 1);
        table = test::SampleImage();
        SetCapcode(table, 0, 100);
        SetCapcode(table, 1, 200);
        StoreTableChecksum(table);
        test::WriteFile(dir / "in.tbl", test::Bytes(table));
    }
    bool contains(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
    test::TempDir dir;
    ConfigImage table;
};

}  // namespace

TEST_F(CliTransfer, PortsListsTheCandidatesThenTheBoard) {
    Boardsim board;
    const auto found = RunProgram("zrv41k-cli", {"ports", "--port", "/dev/zrv-none", "--port", board.path(),
                                                 "--trace", (dir / "trace.txt").string()});
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(found.out, "/dev/zrv-none\n" + board.path() + "\nboard: " + board.path() + "\n");
    const std::string trace = test::ReadFile(dir / "trace.txt");
    EXPECT_TRUE(contains(trace, " > 51 61 6E 74 65 6C 6F 72 69 78 35 52 03 00 00 00 00 8A\n"));
    EXPECT_TRUE(contains(trace, " < 51 61 6E 74 65 6C 6F 72 69 78 35 53 01 06 00 8F\n"));

    const auto none = RunProgram("zrv41k-cli", {"ports", "--port", "/dev/zrv-none"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "/dev/zrv-none\nboard: none\n");
    EXPECT_EQ(RunProgram("zrv41k-cli", {"ports", "--port"}).exitCode, 2);
}

TEST_F(CliTransfer, ReadSavesATableAndAFailedReadKeepsTheOldFile) {
    {
        Boardsim board({"--table", (dir / "in.tbl").string()});
        const auto run = RunProgram("zrv41k-cli", {"read", "--port", board.path(), (dir / "out.tbl").string()});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "Read Success!\n");
        EXPECT_TRUE(CheckTableFile(dir / "out.tbl").ok);
        ConfigImage saved;
        int count = 0;
        ASSERT_TRUE(LoadTableFile(dir / "out.tbl", saved, count).ok);
        EXPECT_EQ(CapcodeAt(saved, 1), 200u);
        const auto log = board.log();
        EXPECT_EQ(log.back(), "control r 0") << "the board is released at the end";
    }
    Boardsim blank;
    test::WriteFile(dir / "old.tbl", "previous contents");
    const auto run = RunProgram("zrv41k-cli", {"read", "--port", blank.path(), (dir / "old.tbl").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "Msg16: This pager is not ZR-V41K !")) << run.err;
    EXPECT_EQ(run.out, "Read Error!\n");
    EXPECT_EQ(test::ReadFile(dir / "old.tbl"), "previous contents");
}

TEST_F(CliTransfer, WriteThenVerifyAndAVerifyThatFindsDifferences) {
    ConfigImage other = test::SampleImage();
    test::WriteMemoryFile(dir / "other.tbl", other);
    Boardsim board({"--table", (dir / "other.tbl").string()});
    const auto write = RunProgram("zrv41k-cli", {"write", "--port", board.path(), (dir / "in.tbl").string(),
                                                 "--serial", "ABC12345678"});
    EXPECT_EQ(write.exitCode, 0) << write.err;
    EXPECT_EQ(write.out, "Write Success!\n");
    const ConfigImage pager = board.memory();
    EXPECT_EQ(CapcodeAt(pager, 0), 100u);
    EXPECT_EQ(PagerSerialNumber(pager), "ABC12345678 ");
    EXPECT_TRUE(SerialNumberValid(pager));

    // The verify compares what a write of the file would put on this pager
    // now: the serial number it holds, its checksum; so the file verifies.
    const auto afterWrite = RunProgram("zrv41k-cli", {"verify", "--port", board.path(), (dir / "in.tbl").string()});
    EXPECT_EQ(afterWrite.exitCode, 0) << afterWrite.out << afterWrite.err;
    EXPECT_EQ(afterWrite.out, "Verify Success!\n");

    // A capcode that differs is named, and nothing else is: the capcodes lie
    // outside the range the image checksum covers.
    SetCapcode(table, 0, 300);
    StoreTableChecksum(table);
    test::WriteFile(dir / "changed.tbl", test::Bytes(table));
    const auto changed = RunProgram("zrv41k-cli", {"verify", "--port", board.path(), (dir / "changed.tbl").string()});
    EXPECT_EQ(changed.exitCode, 1);
    EXPECT_EQ(changed.out.rfind("Verify Error!\n:128", 0), 0u) << changed.out;
    EXPECT_FALSE(contains(changed.out, ":4D")) << changed.out;
    EXPECT_FALSE(contains(changed.out, ":7FE")) << changed.out;
    // After the addresses, the fields: the file's value, then the pager's.
    EXPECT_TRUE(contains(changed.out, "\ncapcode.1: 0000300 -> 0000100\n")) << changed.out;

    // The contrast too: both fields are named, and the checksum, which no
    // field shows, as bytes.
    FieldContext context = ContextAfterOpen(table);
    const FieldDef& contrast = RequireField("contrast");
    const std::string pagerContrast = contrast.get(table, context);
    const std::string fileContrast = pagerContrast == "2" ? "3" : "2";
    ASSERT_EQ(SetFieldValue(table, context, contrast, fileContrast).status, SetFieldResult::Status::Stored);
    StoreTableChecksum(table);
    test::WriteFile(dir / "changed.tbl", test::Bytes(table));
    const auto both = RunProgram("zrv41k-cli", {"verify", "--port", board.path(), (dir / "changed.tbl").string()});
    EXPECT_EQ(both.exitCode, 1);
    EXPECT_TRUE(contains(both.out, "\ncapcode.1: 0000300 -> 0000100\n")) << both.out;
    EXPECT_TRUE(contains(both.out, "\ncontrast: " + fileContrast + " -> " + pagerContrast + "\n")) << both.out;
    EXPECT_TRUE(contains(both.out, "  checksum: ")) << both.out;
}

TEST_F(CliTransfer, ATableWrittenIntoOrReadFromAPagerVerifiesAgainstIt) {
    // A blank pager with firmware 1.2: the write gives it a serial number
    // and the synthesizer words of its firmware, which the file lacks.
    Boardsim board({"--firmware", "12"});
    const std::string in = (dir / "in.tbl").string(), read = (dir / "r.tbl").string();
    const auto write = RunProgram("zrv41k-cli", {"write", "--yes", "--port", board.path(), in});
    ASSERT_EQ(write.exitCode, 0) << write.err;
    ASSERT_EQ(PagerSerialNumber(board.memory()), "Qant0000000 ");
    ASSERT_EQ(RunProgram("zrv41k-cli", {"read", "--port", board.path(), read}).exitCode, 0);
    for (const std::string& file : {in, read}) {
        const auto verify = RunProgram("zrv41k-cli", {"verify", "--port", board.path(), file});
        EXPECT_EQ(verify.exitCode, 0) << file << "\n" << verify.out << verify.err;
        EXPECT_EQ(verify.out, "Verify Success!\n") << file;
    }
    // The verify wrote nothing.
    const auto lines = board.log();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("write ", 0) == 0; }),
              static_cast<long>((kImageSize + 127) / 128));
}

TEST_F(CliTransfer, VerifySucceedsOnAPagerHoldingTheOpenedTable) {
    // The pager holds what a write of in.tbl put there, its write marker
    // changed since: the marker is not compared.
    ConfigImage written;
    {
        Boardsim blank({"--firmware", "12"});
        ASSERT_EQ(RunProgram("zrv41k-cli", {"write", "--yes", "--port", blank.path(), (dir / "in.tbl").string()})
                      .exitCode, 0);
        written = blank.memory();
    }
    written.setByte(0x3E0, static_cast<std::uint8_t>(written.byte(0x3E0) ^ 1));
    test::WriteMemoryFile(dir / "pager.bin", written);
    Boardsim board({"--memory", (dir / "pager.bin").string()});
    const auto same = RunProgram("zrv41k-cli", {"verify", "--port", board.path(), (dir / "in.tbl").string()});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "Verify Success!\n");
}

TEST_F(CliTransfer, ShortTableIsCompletedFromTheStartUpImageAndSerialIsTakenAsScanned) {
    // The short form holds bytes 0x000..0xD7F only; the capcodes lie beyond.
    const std::string full = test::ReadFile(dir / "in.tbl");
    test::WriteFile(dir / "short.tbl", full.substr(0, 3456));
    // What File > Open makes of it in a program that has just started, in
    // pager characters. A write changes nothing beyond 0xD7F.
    const ConfigImage start = StartupImage();
    ConfigImage opened = start;
    int count = 0;
    ASSERT_TRUE(LoadTableFile(dir / "short.tbl", opened, count).ok);
    ApplyRefreshForcedValues(opened);
    ConvertTextsToPager(opened);
    {
        Boardsim board({"--table", (dir / "in.tbl").string()});
        const auto write = RunProgram("zrv41k-cli", {"write", "--port", board.path(),
                                                     (dir / "short.tbl").string(), "--serial",
                                                     "\xC3\x84" "BC12345678"});  // "ÄBC12345678"
        EXPECT_EQ(write.exitCode, 0) << write.err;
        const ConfigImage pager = board.memory();
        EXPECT_EQ(CapcodeAt(pager, 0), CapcodeAt(start, 0));
        const auto beyond = pager.range(0xD80, kImageSize - 0xD80);
        EXPECT_TRUE(std::equal(beyond.begin(), beyond.end(), opened.bytes().begin() + 0xD80))
            << "nothing beyond the short form is zeroed";
        // Eleven characters get the scanner's blank; Ä is one byte of the PC code page.
        EXPECT_EQ(PagerSerialNumber(pager), "\xC4" "BC12345678 ");
        EXPECT_TRUE(SerialNumberValid(pager));
        // The short file verifies against the pager it was written into.
        const auto same = RunProgram("zrv41k-cli", {"verify", "--port", board.path(), (dir / "short.tbl").string()});
        EXPECT_EQ(same.exitCode, 0) << same.err;
        EXPECT_EQ(same.out, "Verify Success!\n");
    }
}

TEST_F(CliTransfer, WriteToAnUnconfirmedModelNeedsYes) {
    Boardsim blank;
    const auto no = RunProgram("zrv41k-cli", {"write", "--port", blank.path(), (dir / "in.tbl").string()});
    EXPECT_EQ(no.exitCode, 1);
    EXPECT_TRUE(contains(no.err, "Msg10: This model of pager can not be sure !")) << no.err;
    EXPECT_EQ(no.out, "Write Error!\n");
    EXPECT_FALSE(HasModelIdentity(blank.memory().bytes()));

    const auto yes = RunProgram("zrv41k-cli", {"write", "--yes", "--port", blank.path(), (dir / "in.tbl").string()});
    EXPECT_EQ(yes.exitCode, 0) << yes.err;
    EXPECT_TRUE(HasModelIdentity(blank.memory().bytes()));
}

TEST_F(CliTransfer, AutoIncrementProgramsOnePagerAfterAnother) {
    Boardsim board({"--table", (dir / "in.tbl").string()});
    const auto run = RunProgram("zrv41k-cli", {"write", "--port", board.path(), (dir / "in.tbl").string(),
                                               "--auto-increment", "12", "--count", "2"},
                                "\n\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              " 1st capcode : 0000100\n 2nd capcode : 0000200\nWrite Success !\n"
              " 1st capcode : 0000101\n 2nd capcode : 0000201\nWrite Success !\n");
    EXPECT_TRUE(contains(run.err, "Put pager 2 of 2 into the board and press Enter"));
    const ConfigImage pager = board.memory();
    EXPECT_EQ(CapcodeAt(pager, 0), 101u);
    EXPECT_EQ(CapcodeAt(pager, 1), 201u);

    // Without Enter nothing more is written.
    const auto stopped = RunProgram("zrv41k-cli", {"write", "--port", board.path(), (dir / "in.tbl").string(),
                                                   "--auto-increment", "1", "--count", "1"});
    EXPECT_EQ(stopped.exitCode, 1);
    EXPECT_EQ(stopped.out, "");
}

TEST_F(CliTransfer, WriteRefusesBadOptionsAndBadTables) {
    const std::string in = (dir / "in.tbl").string();
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"write", in, "--auto-increment", "3", "--count", "2"},
             {"write", in, "--auto-increment", "1"},
             {"write", in, "--serial", "SHORT"},
             {"write", in, "--no-wait"},
             {"write"},
             {"verify"},
             {"read", "a.tbl", "b.tbl"}}) {
        SCOPED_TRACE(args.size() > 1 ? args[1] + " " + args.back() : args[0]);
        EXPECT_EQ(RunProgram("zrv41k-cli", args).exitCode, 2);
    }
    test::WriteFile(dir / "short.tbl", std::string(100, '\0'));
    const auto bad = RunProgram("zrv41k-cli", {"write", "--port", "/dev/zrv-none", (dir / "short.tbl").string()});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(contains(bad.err, "Msg61: The file size is error !")) << bad.err;
}

TEST_F(CliTransfer, BatchChecksTheWholeJobThenProgramsRowByRow) {
    Boardsim board({"--table", (dir / "in.tbl").string()});
    const std::string in = (dir / "in.tbl").string();
    const auto batch = [&](const std::string& csv, std::vector<std::string> more, const std::string& input = {}) {
        test::WriteFile(dir / "job.csv", csv);
        std::vector<std::string> args = {"batch", (dir / "job.csv").string(), "--template", in, "--port", board.path()};
        args.insert(args.end(), more.begin(), more.end());
        return RunProgram("zrv41k-cli", args, input);
    };
    // A value row 4 refuses is found before row 1 is written.
    const ConfigImage untouched = board.memory();
    const auto refused = batch("name,capcode.1,contrast\np1,1301,2\np2,1302,3\np3,1303,2\np4,5,1\n", {"--yes"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(contains(refused.err, "line 5: capcode.1: Msg48")) << refused.err;
    EXPECT_TRUE(board.memory() == untouched);

    // Enter writes, s skips, the end of the input stops before row 4.
    const std::string job = "name,capcode.1,contrast\np1,1301,2\np2,1302,3\np3,1303,2\np4,1304,1\n";
    const auto asked = batch(job, {"--note", (dir / "note.pdf").string()}, "\ns\n\n");
    EXPECT_EQ(asked.exitCode, 1);
    EXPECT_EQ(asked.out, "Write Success!\np1 (row 1 of 4): verified\np2 (row 2 of 4): skipped\n"
                         "Write Success!\np3 (row 3 of 4): verified\n"
                         "p4 (row 4 of 4): not written; the job stopped (go on with --from 4)\n"
                         "delivery note: " + (dir / "note.pdf").string() + "\n");
    EXPECT_TRUE(contains(asked.err, "Insert pager p3 (row 3 of 4) and press Enter; s skips, q stops")) << asked.err;
    EXPECT_EQ(CapcodeAt(board.memory(), 0), 1303u);

    // The delivery note: a line per row with its result, and the summary.
    const auto text = RunProgram("/usr/bin/pdftotext", {"-layout", (dir / "note.pdf").string(), "-"});
    if (text.exitCode == 0) {
        for (const char* row : {"p1 .* 1301 .* verified", "p2 .* 1302 .* skipped", "p3 .* 1303 .* verified",
                                "p4 .* 1304 .* waiting", "4 pagers: 2 verified, 1 skipped, 1 waiting"})
            EXPECT_TRUE(std::regex_search(text.out, std::regex(row))) << row << " in\n" << text.out;
    } else {
        ADD_FAILURE() << "pdftotext (poppler-utils, installed by scripts/setup) did not run: " << text.err;
    }

    const auto resumed = batch(job, {"--from", "4", "--yes"});
    EXPECT_EQ(resumed.exitCode, 0) << resumed.out << resumed.err;
    EXPECT_EQ(resumed.out, "Write Success!\np4 (row 4 of 4): verified\n");

    // The row's table file is what `set` makes, and the pager holds it.
    const auto files = batch(job, {"--out", (dir / "rows").string()});
    ASSERT_EQ(files.exitCode, 0) << files.err;
    ASSERT_EQ(RunProgram("zrv41k-cli", {"set", in, "capcode.1=1304", "contrast=1", "-o", (dir / "p4.tbl").string()})
                  .exitCode, 0);
    EXPECT_EQ(test::ReadFile(dir / "rows" / "p4.tbl"), test::ReadFile(dir / "p4.tbl"));
    const auto verify = RunProgram("zrv41k-cli", {"verify", "--port", board.path(), (dir / "p4.tbl").string()});
    EXPECT_EQ(verify.exitCode, 0) << verify.out;

    // A note that cannot be saved where asked (a FIFO) fails the command at
    // once, without blocking on the FIFO.
    ASSERT_EQ(mkfifo((dir / "fifo.pdf").c_str(), 0600), 0);
    const auto noNote = batch(job, {"--from", "4", "--yes", "--note", (dir / "fifo.pdf").string()});
    EXPECT_EQ(noNote.exitCode, 1);
    EXPECT_TRUE(contains(noNote.err, "fifo.pdf: not a regular file")) << noNote.err;
}

TEST_F(CliTransfer, BatchStopsAtTheRowWhoseBoardIsLostAndGoesOnFromIt) {
    const std::string in = (dir / "in.tbl").string();
    test::WriteFile(dir / "job.csv", "name,capcode.1\np1,1301\np2,1302\np3,1303\n");
    const auto batch = [&](const std::string& port, std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"batch", (dir / "job.csv").string(), "--template", in, "--port", port, "--yes"};
        args.insert(args.end(), more.begin(), more.end());
        return RunProgram("zrv41k-cli", args);
    };
    // How many answers two rows take, then a board that vanishes a hundred
    // answers into the third row.
    std::size_t twoRows = 0;
    {
        test::WriteFile(dir / "two.csv", "name,capcode.1\np1,1301\np2,1302\n");
        Boardsim counting({"--table", in});
        ASSERT_EQ(RunProgram("zrv41k-cli", {"batch", (dir / "two.csv").string(), "--template", in, "--port",
                                            counting.path(), "--yes"})
                      .exitCode,
                  0);
        twoRows = counting.log().size();
    }
    ASSERT_GT(twoRows, 200u);
    Boardsim vanishing({"--table", in, "--vanish-after", std::to_string(twoRows + 100)});
    const auto lost = batch(vanishing.path());
    EXPECT_EQ(lost.exitCode, 1);
    EXPECT_TRUE(contains(lost.out, "p1 (row 1 of 3): verified\n")) << lost.out;
    EXPECT_TRUE(contains(lost.out, "p2 (row 2 of 3): verified\n")) << lost.out;
    EXPECT_TRUE(contains(lost.out, "p3 (row 3 of 3): failed\nthe job stopped (go on with --from 3)\n")) << lost.out;

    Boardsim back({"--table", in});
    const auto resumed = batch(back.path(), {"--from", "3"});
    EXPECT_EQ(resumed.exitCode, 0) << resumed.out << resumed.err;
    EXPECT_EQ(resumed.out, "Write Success!\np3 (row 3 of 3): verified\n");
    EXPECT_EQ(CapcodeAt(back.memory(), 0), 1303u);
}
