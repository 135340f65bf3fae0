// Board detection and block transfers over a pseudo-terminal, against the
// board simulator: every failure ends in its one message and its effect on
// the known board.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/qt_serial_line.h"
#include "tests/link/boardsim_process.h"

using namespace zrv;
using namespace zrv::link;
using zrv::test::Boardsim;

namespace {

bool logged(Boardsim& sim, const std::string& line) {
    const auto lines = sim.log();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

struct Rig {
    explicit Rig(std::vector<std::string> ports) : link(line, notifier, [this] { ++pumps; }, &sink) {
        link.setPortOverride(std::move(ports));
        link.setTiming(test::FastTiming());
    }
    QtSerialLine line;
    test::RecordingNotifier notifier;
    test::RecordingSink sink;
    int pumps = 0;
    ProgrammerLink link;
};

}  // namespace

TEST(BoardDetection, SkipsPortsThatDoNotAnswerAndStartsTheBoard) {
    Boardsim mute({"--silent-after", "0"});
    Boardsim board;
    Rig rig({"/dev/zrv-no-such-port", mute.path(), board.path()});
    ASSERT_TRUE(rig.link.ProbeBoard());
    EXPECT_EQ(rig.link.BoardPort, board.path());
    EXPECT_TRUE(rig.notifier.keys().empty());
    EXPECT_TRUE(logged(mute, "identify (silent)"));
    EXPECT_TRUE(logged(board, "control s 1"));

    rig.link.BoardControl(BoardCommand::Release);
    EXPECT_TRUE(logged(board, "control r 0"));
    EXPECT_TRUE(rig.notifier.keys().empty());
    EXPECT_LT(rig.line.status(), 0) << "the port is closed between exchanges";
}

TEST(BoardDetection, NoBoardIsToldOnlyAtStartUp) {
    Rig rig({"/dev/zrv-no-such-port"});
    EXPECT_FALSE(rig.link.ProbeBoard());
    EXPECT_TRUE(rig.notifier.keys().empty());
    rig.link.StartupProbe = true;
    EXPECT_FALSE(rig.link.ProbeBoard());
    ASSERT_EQ(rig.notifier.shown.size(), 1u);
    EXPECT_EQ(rig.notifier.shown[0].key, "Msg7");
    EXPECT_EQ(rig.notifier.shown[0].english, "The Programmed Board is not responding!");
    EXPECT_FALSE(rig.link.BoardPort);
    // Nothing is sent to a board that is not known.
    rig.link.BoardControl(BoardCommand::Release);
    EXPECT_EQ(rig.notifier.shown.size(), 1u);
}

TEST(BoardDetection, PollingProbesOnlyWhileNoBoardIsKnown) {
    auto board = std::make_unique<Boardsim>();
    Rig rig({board->path()});
    EXPECT_TRUE(rig.link.PollBoard());
    EXPECT_EQ(rig.link.BoardPort, board->path());
    EXPECT_TRUE(rig.link.PollBoard());
    const auto lines = board->log();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "identify"), 1) << "a known board is not probed again";
    board.reset();  // the adapter is pulled out: its terminal goes
    EXPECT_FALSE(rig.link.PollBoard());
    EXPECT_FALSE(rig.link.BoardPort);
    EXPECT_TRUE(rig.notifier.keys().empty()) << "polling stays silent";
}

TEST(BoardDetection, UnacknowledgedStartStillFindsTheBoard) {
    Boardsim board({"--silent-after", "1"});  // answers the identify request only
    Rig rig({board.path()});
    EXPECT_TRUE(rig.link.ProbeBoard());
    EXPECT_EQ(rig.link.BoardPort, board.path());
    ASSERT_EQ(rig.notifier.shown.size(), 1u);
    EXPECT_EQ(rig.notifier.shown[0].key, "Msg7");
    EXPECT_EQ(rig.notifier.shown[0].english, "Programmer Initial Error!");
    EXPECT_GT(rig.pumps, 0) << "the board-control wait keeps the window alive";
}

TEST(BlockTransfer, ShortBlocksAndProgressOnlyFromAddressZero) {
    test::TempDir dir;
    ConfigImage memory;
    for (std::size_t a = 0; a < kImageSize; ++a) memory.setByte(a, static_cast<std::uint8_t>(a * 7 + (a >> 8)));
    test::WriteMemoryFile(dir / "m.bin", memory);
    Boardsim board({"--memory", (dir / "m.bin").string()});
    Rig rig({board.path()});
    ASSERT_TRUE(rig.link.ProbeBoard());

    ASSERT_TRUE(rig.link.ReadRange(0x459, 0x459, 128));
    EXPECT_TRUE(logged(board, "read 0459 1"));
    EXPECT_TRUE(rig.sink.positions.empty());
    EXPECT_EQ(rig.link.PagerBuffer().byte(0x459), memory.byte(0x459));

    ASSERT_TRUE(rig.link.ReadRange(0, 129, 128));
    EXPECT_TRUE(logged(board, "read 0000 128"));
    EXPECT_TRUE(logged(board, "read 0080 2"));
    EXPECT_EQ(rig.sink.positions, (std::vector<int>{128, 256}));
    EXPECT_TRUE(std::equal(memory.bytes().begin(), memory.bytes().begin() + 130,
                           rig.link.PagerBuffer().bytes().begin()));
    EXPECT_EQ(rig.link.PagerBuffer().byte(130), 0xFF) << "nothing beyond the range was fetched";
    EXPECT_GE(rig.pumps, 3) << "events are processed once per block";

    ConfigImage image = memory;
    image.fill(0x1000, 3, 0xA5);
    ASSERT_TRUE(rig.link.WriteRange(image, 0x1000, 0x1002, 128));
    EXPECT_TRUE(logged(board, "write 1000 3"));
    EXPECT_EQ(rig.sink.rangeFirst, 0x1000);
    EXPECT_EQ(rig.sink.positions.back(), 0x1003);
    EXPECT_EQ(board.memory(), image);
    EXPECT_TRUE(rig.notifier.keys().empty());
}

TEST(BlockTransfer, PlainChecksumReplyIsAReadErrorAndTheBoardStaysKnown) {
    Boardsim board({"--plain-checksum"});
    Rig rig({board.path()});
    ASSERT_TRUE(rig.link.ProbeBoard());
    ConfigImage before = rig.link.PagerBuffer();
    EXPECT_FALSE(rig.link.ReadRange(0, 0x7F, 128));
    EXPECT_EQ(rig.notifier.keys(), std::vector<std::string>{"Msg6"});
    EXPECT_EQ(rig.notifier.shown[0].english, "Read error!");
    EXPECT_EQ(rig.link.BoardPort, board.path());
    EXPECT_EQ(rig.sink.disconnects, 0);
    EXPECT_EQ(rig.link.PagerBuffer(), before) << "a rejected block is not copied";
    EXPECT_LT(rig.line.status(), 0);
}

TEST(BlockTransfer, SilentBoardIsATimeOutAndStaysKnown) {
    Boardsim board({"--silent-after", "2"});  // identify and start, then nothing
    Rig rig({board.path()});
    ASSERT_TRUE(rig.link.ProbeBoard());
    EXPECT_FALSE(rig.link.ReadRange(0, 0x10, 128));
    EXPECT_EQ(rig.notifier.keys(), std::vector<std::string>{"Msg5"});
    EXPECT_EQ(rig.notifier.shown[0].english, "Read Time Out!");
    EXPECT_EQ(rig.link.BoardPort, board.path());
    EXPECT_EQ(rig.sink.disconnects, 0);
    EXPECT_LT(rig.line.status(), 0) << "the port is closed after the failure";
}

TEST(BlockTransfer, ReplyCompleteOnlyAfterTwoSecondsIsATimeOut) {
    Boardsim board({"--delay", "2600"});
    Rig rig({board.path()});
    ASSERT_TRUE(rig.link.ProbeBoard());
    EXPECT_FALSE(rig.link.ReadRange(0x100, 0x17F, 128));
    EXPECT_EQ(rig.notifier.keys(), std::vector<std::string>{"Msg5"});
    EXPECT_EQ(rig.link.BoardPort, board.path());
    EXPECT_EQ(rig.sink.disconnects, 0);
}

TEST(BlockTransfer, WrongWriteAcknowledgementStopsTheWrite) {
    Boardsim board({"--bad-ack-after", "2"});
    Rig rig({board.path()});
    ASSERT_TRUE(rig.link.ProbeBoard());
    const ConfigImage blank = board.memory();
    ConfigImage image;
    image.fill(0, kImageSize, 0x11);
    EXPECT_FALSE(rig.link.WriteRange(image, 0, 0x3FF, 128));
    // Two blocks went in before the refused one: the pager is partly written.
    EXPECT_EQ(rig.notifier.keys(), (std::vector<std::string>{"Msg4", "MsgPartlyWritten"}));
    EXPECT_EQ(rig.notifier.shown[0].english, "Write error!");
    EXPECT_EQ(rig.link.BoardPort, board.path());
    const auto lines = board.log();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("write ", 0) == 0; }),
              3) << "no block is sent after the refused one";
    const ConfigImage after = board.memory();
    EXPECT_EQ(after.byte(0xFF), 0x11);
    EXPECT_EQ(after.byte(0x100), blank.byte(0x100));
}

TEST(BlockTransfer, BoardVanishingMidTransferIsLost) {
    for (const bool reading : {true, false}) {
        SCOPED_TRACE(reading ? "read" : "write");
        Boardsim board({"--vanish-after", "4"});  // identify, start, two blocks
        Rig rig({board.path()});
        ASSERT_TRUE(rig.link.ProbeBoard());
        ConfigImage image;
        const bool ok = reading ? rig.link.ReadRange(0, 0x7FF, 128)
                                : rig.link.WriteRange(image, 0, 0x7FF, 128);
        EXPECT_FALSE(ok);
        EXPECT_TRUE(board.waitForExit(2000));
        // A write lost after its first blocks tells that the pager is only
        // partly written, after the error itself.
        const std::vector<std::string> told =
            reading ? std::vector<std::string>{"Msg6"} : std::vector<std::string>{"Msg4", "MsgPartlyWritten"};
        EXPECT_EQ(rig.notifier.keys(), told);
        EXPECT_EQ(rig.notifier.shown[0].english, reading ? "Read error!" : "Write error!");
        EXPECT_FALSE(rig.link.BoardPort);
        EXPECT_EQ(rig.sink.disconnects, 1);
        EXPECT_LT(rig.line.status(), 0);

        // A second transfer with the board gone says that it is gone.
        rig.notifier.clear();
        const bool again = reading ? rig.link.ReadRange(0, 0x7FF, 128)
                                   : rig.link.WriteRange(image, 0, 0x7FF, 128);
        EXPECT_FALSE(again);
        EXPECT_EQ(rig.notifier.keys(), std::vector<std::string>{"Msg53"});
        EXPECT_EQ(rig.sink.disconnects, 2);
    }
}

TEST(BlockTransfer, TraceHoldsEveryFrameBothWays) {
    Boardsim board;
    Rig rig({board.path()});
    std::vector<std::pair<TraceDirection, Bytes>> frames;
    rig.link.setTrace([&](TraceDirection d, std::span<const std::uint8_t> b) {
        frames.emplace_back(d, Bytes(b.begin(), b.end()));
    });
    ASSERT_TRUE(rig.link.ProbeBoard());
    ASSERT_TRUE(rig.link.ReadRange(0x10, 0x13, 128));
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[0].second, IdentifyRequest());
    EXPECT_EQ(frames[1].first, TraceDirection::Received);
    EXPECT_EQ(frames[1].second.size(), kIdentifyReplySize);
    EXPECT_EQ(frames[3].second, BoardControlAck());
    EXPECT_EQ(frames[4].second, ReadRequest(0x10, 4));
    EXPECT_EQ(frames[5].second.size(), ReadReplySize(4));
}

TEST(LinkTiming, ReadPauseSettingTakesOnlyAPlainNumberUpToTheBoardsPause) {
    EXPECT_EQ(LinkTimingFromSetting(nullptr).readPause.count(), 300);
    EXPECT_EQ(LinkTimingFromSetting("0").readPause.count(), 0);
    EXPECT_EQ(LinkTimingFromSetting("120").readPause.count(), 120);
    EXPECT_EQ(LinkTimingFromSetting("300").readPause.count(), 300);
    for (const char* bad : {"", "301", "-5", "12ms", " 12", "0x10", "99999999999999999999999"})
        EXPECT_EQ(LinkTimingFromSetting(bad).readPause.count(), 300) << bad;
    // Only the read pause changes: the time-outs stay the board's.
    const LinkTiming timing = LinkTimingFromSetting("0");
    EXPECT_EQ(timing.replyWait.count(), 2000);
    EXPECT_EQ(timing.syncWait.count(), 500);
}

TEST(LinkTiming, TheReadPauseKeepsTheWindowAliveAndItsLength) {
    Boardsim board;
    Rig rig({board.path()});
    ASSERT_TRUE(rig.link.ProbeBoard());
    LinkTiming timing;
    timing.readPause = std::chrono::milliseconds(200);
    rig.link.setTiming(timing);
    rig.pumps = 0;
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(rig.link.ReadRange(0, 127, 128));  // one block
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(200)) << "the pause keeps its length";
    EXPECT_GE(rig.pumps, 5) << "events are processed in slices through the pause";
}
