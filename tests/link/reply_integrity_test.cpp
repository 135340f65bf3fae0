// Read replies that do not belong to the block asked for: repeated, late,
// of another length, or behind noise. The board runs in this process behind
// a SimulatedLine, so each fault lands on exactly the block it is meant for.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/image_layout.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"
#include "link/programming_session.h"
#include "tests/link/boardsim_process.h"
#include "tools/boardsim/simulated_line.h"

using namespace zrv;
using namespace zrv::link;
using boardsim::BoardSimulator;
using boardsim::SimulatedLine;
namespace L = zrv::layout;

namespace {

bool isReadReply(const Bytes& reply) { return reply.size() > 12 && reply[10] == '6' && reply[11] == 'R'; }

// A pager whose every byte differs from its neighbours' block, with a valid
// identity and image checksum, so a block stored at the wrong place shows.
ConfigImage patternedPager() {
    ConfigImage memory = test::SampleImage();
    for (std::size_t a = 0x800; a < kImageSize; ++a)
        memory.setByte(a, static_cast<std::uint8_t>((a >> 7) * 37 + a));
    ConvertTextsToPager(memory);
    StoreImageChecksum(memory);
    return memory;
}

struct SimRig {
    explicit SimRig(const ConfigImage& memory = patternedPager())
        : board(memory, boardsim::Faults{}), line(board), link(line, notifier, [this] { if (onPump) onPump(); }, &sink) {
        link.setPortOverride({"simulated"});
        link.setTiming(test::FastTiming());
        if (!link.ProbeBoard()) throw std::runtime_error("no board");
    }
    // Filters the read replies only, counting them from 0.
    void onReadReply(std::function<SimulatedLine::Delivery(std::size_t, const Bytes&)> f) {
        line.setReplyFilter([this, f](std::size_t, const Bytes& reply) {
            if (!isReadReply(reply)) return SimulatedLine::Delivery{reply, 0, 0};
            return f(readReplies++, reply);
        });
    }
    BoardSimulator board;
    SimulatedLine line;
    test::RecordingNotifier notifier;
    test::RecordingSink sink;
    std::function<void()> onPump;
    std::size_t readReplies = 0;
    ProgrammerLink link;
};

void expectReadError(const SimRig& rig) {
    ASSERT_EQ(rig.notifier.shown.size(), 1u);
    EXPECT_EQ(rig.notifier.shown[0].key, "Msg6");
    EXPECT_EQ(rig.notifier.shown[0].english, "Read error!");
    EXPECT_EQ(rig.link.BoardPort, "simulated") << "the board stays known";
}

}  // namespace

TEST(ReadReplyIntegrity, ARepeatedReplyIsAReadErrorAndNeverTheNextBlock) {
    const ConfigImage memory = patternedPager();
    for (const bool late : {false, true}) {
        SCOPED_TRACE(late ? "the repeat arrives just before the next reply" : "the repeat right behind the reply");
        SimRig rig(memory);
        Bytes third;
        rig.onReadReply([&](std::size_t i, const Bytes& reply) {
            Bytes out = reply;
            if (i == 3) third = reply;
            if (i == 3 && !late) out.insert(out.end(), reply.begin(), reply.end());
            if (i == 4 && late) out.insert(out.begin(), third.begin(), third.end());
            return SimulatedLine::Delivery{out, 0, 0};
        });
        const ConfigImage before = rig.link.PagerBuffer();
        EXPECT_FALSE(rig.link.ReadRange(0x1000, 0x1000 + 8 * 128 - 1, 128));
        expectReadError(rig);
        // The blocks before the rejected reply are stored; from it on nothing
        // is, so 0x1200 never holds block 3's bytes.
        const std::size_t rejected = late ? 0x1200 : 0x1180;
        EXPECT_TRUE(std::equal(memory.bytes().begin() + 0x1000, memory.bytes().begin() + rejected,
                               rig.link.PagerBuffer().bytes().begin() + 0x1000));
        EXPECT_TRUE(std::equal(before.bytes().begin() + rejected, before.bytes().begin() + 0x1400,
                               rig.link.PagerBuffer().bytes().begin() + rejected));
    }
}

TEST(ReadReplyIntegrity, AWholePagerReadWithARepeatedReplyLeavesTheImage) {
    // Above 0x800 the image checksum does not cover the data: only the
    // reply check stands between a repeated reply and the table file.
    SimRig rig;
    rig.onReadReply([](std::size_t i, const Bytes& reply) {
        Bytes out = reply;
        if (i == 40) out.insert(out.end(), reply.begin(), reply.end());
        return SimulatedLine::Delivery{out, 0, 0};
    });
    ConfigImage image = test::SampleImage();
    const ConfigImage before = image;
    int capcodeCount = 48;
    EXPECT_FALSE(ProgramRead(rig.link, rig.sink, image, capcodeCount));
    expectReadError(rig);
    EXPECT_EQ(image, before);
    EXPECT_EQ(capcodeCount, 48);
    EXPECT_EQ(rig.sink.statuses.back(), "done:Read Error!");
}

TEST(ReadReplyIntegrity, AReplyForAnotherBlockLengthIsRefusedEvenWithItsChecksumRight) {
    SimRig rig;
    rig.onReadReply([](std::size_t i, const Bytes& reply) {
        if (i != 1) return SimulatedLine::Delivery{reply, 0, 0};
        // The same bytes, its length byte one less and the checksum made to fit.
        Bytes forged = reply;
        forged[12] = static_cast<std::uint8_t>(forged[12] - 1);
        const auto sum = static_cast<std::uint16_t>(Sum16(std::span(forged).subspan(10, forged.size() - 12)) - 3);
        forged[forged.size() - 2] = static_cast<std::uint8_t>(sum >> 8);
        forged[forged.size() - 1] = static_cast<std::uint8_t>(sum & 0xFF);
        return SimulatedLine::Delivery{forged, 0, 0};
    });
    const ConfigImage before = rig.link.PagerBuffer();
    EXPECT_FALSE(rig.link.ReadRange(0x2000, 0x20FF, 128));
    expectReadError(rig);
    EXPECT_TRUE(std::equal(before.bytes().begin() + 0x2080, before.bytes().begin() + 0x2100,
                           rig.link.PagerBuffer().bytes().begin() + 0x2080));
}

TEST(ReadReplyIntegrity, BytesWaitingBeforeARequestAreDiscardedAndTheReadSucceeds) {
    const ConfigImage memory = patternedPager();
    SimRig rig(memory);
    int pumps = 0;
    // Noise, then a stale copy of a reply, reach the line while the window
    // processes its events between two blocks.
    rig.onPump = [&] {
        ++pumps;
        if (pumps == 3) rig.line.inject({0x00, 'Q', 'a', 0x7F});
        if (pumps == 5) rig.line.inject(rig.board.receive(ReadRequest(0x100, 128).data(), 19).at(0).reply);
    };
    ASSERT_TRUE(rig.link.ReadRange(0x3000, 0x3000 + 6 * 128 - 1, 128));
    EXPECT_TRUE(rig.notifier.shown.empty());
    EXPECT_TRUE(std::equal(memory.bytes().begin() + 0x3000, memory.bytes().begin() + 0x3300,
                           rig.link.PagerBuffer().bytes().begin() + 0x3000));
}
