#include "tools/boardsim/board_simulator.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace zrv::boardsim {
namespace {

constexpr std::string_view kWord = "Qantelorix";
constexpr std::size_t kHeader = 13;  // word, command, length

Bytes frame(std::string_view command, const Bytes& payload, std::uint16_t below) {
    Bytes out;
    out.reserve(kHeader + payload.size() + 2);
    for (char c : kWord) out.push_back(static_cast<std::uint8_t>(c));
    for (char c : command) out.push_back(static_cast<std::uint8_t>(c));
    out.push_back(static_cast<std::uint8_t>(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    const auto sum = static_cast<std::uint16_t>(Sum16(out.data() + 10, out.size() - 10) - below);
    out.push_back(static_cast<std::uint8_t>(sum >> 8));
    out.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    return out;
}

}  // namespace

std::uint16_t Sum16(const std::uint8_t* data, std::size_t length) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < length; ++i) sum += data[i];
    return static_cast<std::uint16_t>(sum);
}

BoardSimulator::BoardSimulator(const ConfigImage& memory, const Faults& faults)
    : memory_(memory), faults_(faults) {}

std::vector<Outcome> BoardSimulator::receive(const std::uint8_t* data, std::size_t length) {
    pending_.insert(pending_.end(), data, data + length);
    std::vector<Outcome> outcomes;
    for (;;) {
        // Drop noise until the buffer starts like a frame word.
        std::size_t skip = 0;
        while (skip < pending_.size()) {
            const std::size_t n = std::min(kWord.size(), pending_.size() - skip);
            if (std::equal(kWord.begin(), kWord.begin() + n, pending_.begin() + skip)) break;
            ++skip;
        }
        pending_.erase(pending_.begin(), pending_.begin() + skip);
        if (pending_.size() < kHeader) break;
        const std::size_t total = kHeader + pending_[12] + 2;
        if (pending_.size() < total) break;
        Bytes f(pending_.begin(), pending_.begin() + total);
        pending_.erase(pending_.begin(), pending_.begin() + total);
        const auto sum = Sum16(f.data() + 10, total - 12);
        if (f[total - 2] != (sum >> 8) || f[total - 1] != (sum & 0xFF)) {
            outcomes.push_back({{}, false, "bad frame checksum, ignored"});
            continue;
        }
        outcomes.push_back(handle(f));
        if (outcomes.back().vanish) break;
    }
    return outcomes;
}

Outcome BoardSimulator::answer(Bytes reply, std::string event) {
    if (faults_.vanishAfter >= 0 && answered_ >= faults_.vanishAfter)
        return {{}, true, "vanished"};
    if (faults_.silentAfter >= 0 && answered_ >= faults_.silentAfter)
        return {{}, false, event + " (silent)"};
    ++answered_;
    return {std::move(reply), false, std::move(event)};
}

Outcome BoardSimulator::handle(const Bytes& f) {
    const std::string_view command(reinterpret_cast<const char*>(f.data()) + 10, 2);
    const std::size_t length = f[12];
    const std::uint8_t* payload = f.data() + kHeader;
    char event[64];

    if (command == "5R") return answer(frame("5R", {0x01, 0x00}, 0), "identify");
    if (command == "5S" && length >= 2) {
        std::snprintf(event, sizeof event, "control %c %u", payload[0], payload[1]);
        return answer(frame("5S", {0x06}, 0), event);
    }
    if (command == "6R" && length >= 4) {
        const std::size_t address = (payload[1] << 8) | payload[2];
        const std::size_t n = payload[3];
        Bytes data(n, 0xFF);
        for (std::size_t i = 0; i < n && address + i < kImageSize; ++i)
            data[i] = memory_.byte(address + i);
        std::snprintf(event, sizeof event, "read %04zX %zu", address, n);
        return answer(frame("6R", data, faults_.plainChecksum ? 0 : 3), event);
    }
    if (command == "6S" && length >= 3) {
        const std::size_t address = (payload[1] << 8) | payload[2];
        const std::size_t n = length - 3;
        const bool badAck = faults_.badAckAfter >= 0 && writeBlocks_ >= faults_.badAckAfter;
        ++writeBlocks_;
        std::snprintf(event, sizeof event, "write %04zX %zu", address, n);
        if (badAck) return answer(frame("6S", {0x15}, 3), std::string(event) + " (NAK)");
        for (std::size_t i = 0; i < n && address + i < kImageSize; ++i)
            if (static_cast<long>(address + i) != faults_.stuckAddress)
                memory_.setByte(address + i, payload[3 + i]);
        return answer(frame("6S", {0x06}, 3), event);
    }
    return {{}, false, "unknown command, ignored"};
}

}  // namespace zrv::boardsim
