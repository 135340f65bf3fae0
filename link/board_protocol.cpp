#include "link/board_protocol.h"

#include <algorithm>
#include <stdexcept>

namespace zrv::link {
namespace {

void appendText(Bytes& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

void appendWord(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

// An acknowledgement as the board sends it: payload 06 (ACK), 00, checksum
// minus 3 for write, plain for board control.
Bytes ackFrame(std::string_view command, std::uint16_t below) {
    const std::uint8_t payload[] = {0x06};
    Bytes out;
    appendText(out, kFrameWord);
    appendText(out, command);
    out.push_back(1);
    out.push_back(payload[0]);
    // The acknowledgement's checksum covers command, length and payload.
    const std::uint16_t sum = Sum16(std::span(out).subspan(kFrameWordSize));
    appendWord(out, static_cast<std::uint16_t>(sum - below));
    return out;
}

}  // namespace

std::uint16_t Sum16(std::span<const std::uint8_t> bytes) {
    unsigned sum = 0;
    for (auto b : bytes) sum += b;
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

Bytes BuildFrame(std::string_view command, std::span<const std::uint8_t> payload) {
    if (command.size() != 2 || payload.size() > 0xFF)
        throw std::invalid_argument("board frame: bad command or payload");
    Bytes out;
    out.reserve(kFrameHeaderSize + payload.size() + 2);
    appendText(out, kFrameWord);
    appendText(out, command);
    out.push_back(static_cast<std::uint8_t>(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    appendWord(out, Sum16(std::span(out).subspan(kFrameWordSize)));
    return out;
}

Bytes ReadRequest(std::uint16_t address, std::uint8_t count) {
    const std::uint8_t payload[] = {0x00, static_cast<std::uint8_t>(address >> 8),
                                    static_cast<std::uint8_t>(address & 0xFF), count};
    return BuildFrame(kCmdRead, payload);
}

Bytes WriteRequest(std::uint16_t address, std::span<const std::uint8_t> data) {
    Bytes payload;
    payload.reserve(data.size() + 3);
    payload.push_back(0x00);
    appendWord(payload, address);
    payload.insert(payload.end(), data.begin(), data.end());
    return BuildFrame(kCmdWrite, payload);
}

const Bytes& IdentifyRequest() {
    static const Bytes frame = [] {
        const std::uint8_t payload[] = {0x00, 0x00, 0x00};
        return BuildFrame(kCmdIdentify, payload);
    }();
    return frame;
}

Bytes BoardControlFrame(BoardCommand command) {
    const std::uint8_t payload[] = {
        static_cast<std::uint8_t>(command == BoardCommand::Start ? 's' : 'r'),
        static_cast<std::uint8_t>(command == BoardCommand::Start ? 1 : 0)};
    return BuildFrame(kCmdBoardControl, payload);
}

const Bytes& WriteAck() {
    static const Bytes frame = ackFrame(kCmdWrite, kReplyChecksumOffset);
    return frame;
}

const Bytes& BoardControlAck() {
    static const Bytes frame = ackFrame(kCmdBoardControl, 0);
    return frame;
}

bool ReadReplyValid(std::span<const std::uint8_t> reply, std::size_t n) {
    if (reply.size() < ReadReplySize(n) || reply[kFrameHeaderSize - 1] != n) return false;
    const auto sum = static_cast<std::uint16_t>(
        Sum16(reply.subspan(kFrameWordSize, n + 3)) - kReplyChecksumOffset);
    return reply[n + 13] == (sum >> 8) && reply[n + 14] == (sum & 0xFF);
}

bool IdentifyReplyValid(std::span<const std::uint8_t> reply) {
    if (reply.size() < kIdentifyReplySize) return false;
    const auto sum = Sum16(reply.subspan(kFrameWordSize, 5));
    if (reply[15] != (sum >> 8) || reply[16] != (sum & 0xFF)) return false;
    Bytes head;
    appendText(head, kFrameWord);
    appendText(head, kCmdIdentify);
    head.push_back(0x02);
    return std::equal(head.begin(), head.end(), reply.begin());
}

}  // namespace zrv::link
