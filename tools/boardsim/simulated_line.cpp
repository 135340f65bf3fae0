#include "tools/boardsim/simulated_line.h"

#include <algorithm>
#include <thread>

namespace zrv::boardsim {

SimulatedLine::SimulatedLine(BoardSimulator& board) : board_(board) {}

void SimulatedLine::tick() {
    ++now_;
    while (!inFlight_.empty() && inFlight_.front().due <= now_) {
        received_.push_back(inFlight_.front().byte);
        inFlight_.pop_front();
    }
}

void SimulatedLine::schedule(const Bytes& bytes, unsigned delay, unsigned spread) {
    // Bytes leave in order: a reply never overtakes one sent before it.
    std::uint64_t due = std::max<std::uint64_t>(now_ + delay, inFlight_.empty() ? 0 : inFlight_.back().due);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) due += spread;
        inFlight_.push_back({due, bytes[i]});
    }
    // Bytes due now are on the line at once.
    while (!inFlight_.empty() && inFlight_.front().due <= now_) {
        received_.push_back(inFlight_.front().byte);
        inFlight_.pop_front();
    }
}

void SimulatedLine::inject(const Bytes& bytes, unsigned delay) { schedule(bytes, delay, 0); }

int SimulatedLine::open(const std::string&) {
    if (!present_) return -1;
    open_ = true;
    return 0;
}

int SimulatedLine::setLineParameters() { return usable() ? 0 : -1; }

int SimulatedLine::close() {
    if (!open_) return -1;
    open_ = false;
    return present_ ? 0 : -1;
}

int SimulatedLine::status() { return usable() ? 0 : -1; }

int SimulatedLine::flush() {
    if (!usable()) return -1;
    // What has arrived goes; what is still on its way arrives later.
    received_.clear();
    return 0;
}

int SimulatedLine::send(const std::uint8_t* data, std::size_t length) {
    if (!usable()) return -1;
    for (auto& outcome : board_.receive(data, length)) {
        if (outcome.vanish) {
            unplug();
            return static_cast<int>(length);  // the frame left; the board is gone
        }
        if (outcome.reply.empty()) continue;
        const std::size_t index = replies_++;
        Delivery d = filter_ ? filter_(index, outcome.reply) : Delivery{outcome.reply, 0, 0};
        schedule(d.bytes, d.delay, d.spread);
    }
    return static_cast<int>(length);
}

int SimulatedLine::receivedCount() {
    if (!usable()) return -1;
    tick();
    return static_cast<int>(received_.size());
}

int SimulatedLine::read(std::uint8_t* data, std::size_t length) {
    if (!usable()) return -1;
    const std::size_t n = std::min(length, received_.size());
    std::copy_n(received_.begin(), n, data);
    received_.erase(received_.begin(), received_.begin() + static_cast<std::ptrdiff_t>(n));
    return static_cast<int>(n);
}

int SimulatedLine::readByte() {
    if (!usable()) return -1;
    tick();
    if (received_.empty()) return -1;
    const std::uint8_t b = received_.front();
    received_.pop_front();
    return b;
}

bool SimulatedLine::waitForBytes(int milliseconds) {
    if (!usable()) return false;
    tick();
    if (!received_.empty()) return true;
    // Nothing more will come: let the caller's clock run instead of spinning.
    if (inFlight_.empty() && milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return !received_.empty();
}

}  // namespace zrv::boardsim
