// Frames of the programmer board, byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "link/board_protocol.h"

using namespace zrv::link;

namespace {

Bytes framed(const std::string& head, std::initializer_list<std::uint8_t> tail) {
    Bytes out(head.begin(), head.end());
    out.insert(out.end(), tail);
    return out;
}

}  // namespace

TEST(BoardFrames, FixedFramesCarryTheBoardsBytes) {
    EXPECT_EQ(IdentifyRequest(), framed("Qantelorix5R", {0x03, 0x00, 0x00, 0x00, 0x00, 0x8A}));
    EXPECT_EQ(WriteAck(), framed("Qantelorix6S", {0x01, 0x06, 0x00, 0x8D}));
    EXPECT_EQ(BoardControlAck(), framed("Qantelorix5S", {0x01, 0x06, 0x00, 0x8F}));
    // 0x35 + 0x53 + 0x02 + 's' + 1 = 0x00FE; with 'r' and 0: 0x00FC.
    EXPECT_EQ(BoardControlFrame(BoardCommand::Start), framed("Qantelorix5S", {0x02, 's', 0x01, 0x00, 0xFE}));
    EXPECT_EQ(BoardControlFrame(BoardCommand::Release), framed("Qantelorix5S", {0x02, 'r', 0x00, 0x00, 0xFC}));
}

TEST(BoardFrames, ReadAndWriteRequestsAddressTheImage) {
    const Bytes read = ReadRequest(0x55FF, 1);
    ASSERT_EQ(read.size(), kReadRequestSize);
    // 0x36 + 0x52 + 4 + 0 + 0x55 + 0xFF + 1 = 0x01E1
    EXPECT_EQ(read, framed("Qantelorix6R", {0x04, 0x00, 0x55, 0xFF, 0x01, 0x01, 0xE1}));

    Bytes data(128, 0xFF);
    const Bytes write = WriteRequest(0x1280, data);
    ASSERT_EQ(write.size(), WriteRequestSize(128));
    EXPECT_EQ(write[12], 131);
    EXPECT_EQ(write[13], 0x00);
    EXPECT_EQ(write[14], 0x12);
    EXPECT_EQ(write[15], 0x80);
    // 0x36 + 0x53 + 131 + 0x12 + 0x80 + 128 * 0xFF = 0x81FE; carry beyond 16 bits dropped.
    const unsigned sum = 0x36 + 0x53 + 131 + 0x12 + 0x80 + 128 * 0xFF;
    EXPECT_EQ(write[146 - 2], (sum >> 8) & 0xFF);
    EXPECT_EQ(write[146 - 1], sum & 0xFF);
}

TEST(BoardFrames, ReadReplyMustCarryTheSumMinusThree) {
    Bytes reply = framed("Qantelorix6R", {0x02, 0x10, 0x20});
    const unsigned sum = 0x36 + 0x52 + 0x02 + 0x10 + 0x20;
    Bytes good = reply, plain = reply;
    good.push_back((sum - 3) >> 8), good.push_back((sum - 3) & 0xFF);
    plain.push_back(sum >> 8), plain.push_back(sum & 0xFF);
    EXPECT_TRUE(ReadReplyValid(good, 2));
    EXPECT_FALSE(ReadReplyValid(plain, 2));
    // Only the checksum is examined: another header with a matching sum passes.
    Bytes otherHead = good;
    otherHead[0] = 'X';
    EXPECT_TRUE(ReadReplyValid(otherHead, 2));
    EXPECT_FALSE(ReadReplyValid(Bytes(good.begin(), good.end() - 1), 2));
}

TEST(BoardFrames, IdentifyReplyIgnoresItsPayloadButNotItsHeader) {
    auto reply = [](std::uint8_t length, std::uint8_t a, std::uint8_t b) {
        Bytes r = framed("Qantelorix5R", {length, a, b});
        const unsigned sum = 0x35 + 0x52 + length + a + b;
        r.push_back(sum >> 8), r.push_back(sum & 0xFF);
        return r;
    };
    EXPECT_TRUE(IdentifyReplyValid(reply(2, 0x01, 0x00)));
    EXPECT_TRUE(IdentifyReplyValid(reply(2, 0xAB, 0xCD)));
    EXPECT_FALSE(IdentifyReplyValid(reply(3, 0x01, 0x00)));
    Bytes badSum = reply(2, 1, 0);
    badSum.back() ^= 1;
    EXPECT_FALSE(IdentifyReplyValid(badSum));
}
