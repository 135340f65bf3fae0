// Block transfers to and from the pager over the board's frame protocol.
#include <algorithm>
#include <thread>

#include "link/link_messages.h"
#include "link/programmer_link.h"

namespace zrv::link {

using Clock = std::chrono::steady_clock;

ProgrammerLink::ProgrammerLink(SerialLine& line, Notifier& notifier, Pump pump, LinkSink* sink)
    : line_(line), notifier_(notifier), pump_(std::move(pump)), sink_(sink ? sink : &nullSink_) {
    pagerBuffer_.fill(0, kImageSize, 0xFF);
}

void ProgrammerLink::setSink(LinkSink* sink) { sink_ = sink ? sink : &nullSink_; }

void ProgrammerLink::status(const char* key, const char* english, bool busy) {
    sink_->status(msg::Box(key, english), busy);
}

void ProgrammerLink::traceFrame(TraceDirection direction, std::span<const std::uint8_t> bytes) {
    if (trace_ && !bytes.empty()) trace_(direction, bytes);
}

bool ProgrammerLink::OpenPort(const std::string& port) {
    if (line_.open(port) != 0 || line_.setLineParameters() != 0) {
        line_.close();
        return false;
    }
    return true;
}

bool ProgrammerLink::sendFrame(const Bytes& frame) {
    traceFrame(TraceDirection::Sent, frame);
    return line_.send(frame.data(), frame.size()) >= 0;
}

// Sleeps on the port until bytes arrive or \p deadline passes. With a pump
// the window's events are processed first and the sleep is cut to 20 ms
// slices, so that the window stays responsive through every wait.
void ProgrammerLink::sleepOnLine(Clock::time_point deadline) {
    auto slice = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()) +
                 std::chrono::milliseconds(1);
    if (pump_) {
        pump_();
        slice = std::min(slice, std::chrono::milliseconds(20));
    }
    line_.waitForBytes(static_cast<int>(std::max<long long>(slice.count(), 0)));
}

// The fixed pause the board needs after a read request. It keeps its whole
// length, but a window goes on processing its events in slices of 20 ms.
void ProgrammerLink::pause(std::chrono::milliseconds length) {
    const auto deadline = Clock::now() + length;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return;
        if (pump_) pump_();
        std::this_thread::sleep_for(std::min(left, std::chrono::milliseconds(20)));
    }
}

// Waits until \p count bytes are waiting.
ProgrammerLink::Wait ProgrammerLink::waitForCount(std::size_t count, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        const int waiting = line_.receivedCount();
        if (waiting < 0) return Wait::LineFailed;
        if (static_cast<std::size_t>(waiting) >= count) return Wait::Done;
        const auto now = Clock::now();
        if (now > deadline) return Wait::TimedOut;
        sleepOnLine(deadline);
    }
}

// Discards single bytes until the first letter of the frame word arrives.
ProgrammerLink::Wait ProgrammerLink::syncOnReply(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        const int b = line_.readByte();
        if (b == static_cast<unsigned char>(kFrameWord[0])) return Wait::Done;
        const auto now = Clock::now();
        if (now > deadline) return Wait::TimedOut;
        if (b >= 0) continue;  // another byte: discard it and look at the next
        sleepOnLine(deadline);
    }
}

// One identify or board-control exchange: flush, send, synchronise on the
// reply and read \p rest bytes behind its first letter. \p reply receives
// the whole reply, first letter included.
bool ProgrammerLink::exchangeShortReply(const Bytes& request, std::size_t rest, Bytes& reply) {
    if (line_.flush() < 0 || !sendFrame(request)) return false;
    if (syncOnReply(timing_.syncWait) != Wait::Done) return false;
    if (waitForCount(rest, timing_.restWait) != Wait::Done) return false;
    reply.assign(rest + 1, 0);
    reply[0] = static_cast<std::uint8_t>(kFrameWord[0]);
    if (line_.read(reply.data() + 1, rest) < 0) return false;
    traceFrame(TraceDirection::Received, reply);
    return true;
}

bool ProgrammerLink::failTransfer(const Message& message) {
    notifier_.show(message);
    if (line_.status() >= 0) line_.close();
    return false;
}

// The port is open for a transfer: it was, or the board's port opens now.
// False when no board is known or its port cannot be opened.
bool ProgrammerLink::lineReady() {
    if (line_.status() >= 0) return true;
    return BoardPort && OpenPort(*BoardPort);
}

bool ProgrammerLink::disconnect(const Message& message) {
    if (line_.status() >= 0) line_.close();
    BoardPort.reset();
    sink_->boardDisconnected();
    notifier_.show(message);
    return false;
}

bool ProgrammerLink::stopCancelled() {
    if (line_.status() >= 0) line_.close();
    Cancelled = true;
    return false;
}

bool ProgrammerLink::ReadRange(std::size_t first, std::size_t last, std::size_t blockSize) {
    status(msg::kReadingKey, msg::kReading, true);
    // A range or block beyond the pager's memory would address bytes that
    // do not exist: clamp it to the image and to the largest frame.
    last = std::min(last, kImageSize - 1);
    blockSize = std::clamp<std::size_t>(blockSize, 1, kMaxBlock);
    const bool fromStart = first == 0;
    if (!lineReady()) return disconnect(msg::BoardDisconnect());
    if (line_.flush() < 0) return disconnect(msg::ReadError());

    Bytes reply;
    while (first <= last) {
        if (pump_) pump_();
        if (cancelRequested_) return stopCancelled();
        const std::size_t n = std::min(blockSize, last - first + 1);
        // Whatever is waiting now cannot be the answer to the request about
        // to go out: it is discarded, so a late or repeated reply is never
        // taken for the next block.
        if (line_.flush() < 0) return disconnect(msg::ReadError());
        if (!sendFrame(ReadRequest(static_cast<std::uint16_t>(first),
                                   static_cast<std::uint8_t>(n))))
            return disconnect(msg::ReadError());
        // The board needs this pause before it answers; it is a sleep, not a spin.
        pause(timing_.readPause);
        const std::size_t size = ReadReplySize(n);
        switch (waitForCount(size, timing_.replyWait)) {
        case Wait::LineFailed: return disconnect(msg::ReadError());
        case Wait::TimedOut: return failTransfer(msg::ReadTimeOut());
        case Wait::Done: break;
        }
        reply.assign(size, 0);
        if (line_.read(reply.data(), size) < 0) return disconnect(msg::ReadError());
        traceFrame(TraceDirection::Received, reply);
        if (!ReadReplyValid(reply, n)) return failTransfer(msg::ReadError());
        // The board sends one reply per request. Bytes behind it mean the
        // board answered more than once (or something else talks on the
        // line), and then no reply on this line can be trusted.
        const int surplus = line_.receivedCount();
        if (surplus < 0) return disconnect(msg::ReadError());
        if (surplus > 0) return failTransfer(msg::ReadError());
        std::copy_n(reply.begin() + kFrameHeaderSize, n, pagerBuffer_.bytes().begin() + first);
        first += blockSize;
        if (fromStart) sink_->progress(static_cast<int>(first));
    }
    if (line_.close() < 0) return disconnect(msg::ReadError());
    return true;
}

bool ProgrammerLink::WriteRange(const ConfigImage& image, std::size_t first, std::size_t last,
                                std::size_t blockSize) {
    status(msg::kWritingKey, msg::kWriting, true);
    last = std::min(last, kImageSize - 1);
    blockSize = std::clamp<std::size_t>(blockSize, 1, kMaxBlock);
    if (!lineReady()) return disconnect(msg::BoardDisconnect());
    if (line_.flush() < 0) return disconnect(msg::WriteError());
    sink_->progressRange(static_cast<int>(first), static_cast<int>(last));

    // Once a block has gone out the pager may hold part of the image: a
    // failure from there on says so after its own message.
    const auto partly = [this](bool lost) {
        if (lost) disconnect(msg::WriteError());
        else failTransfer(msg::WriteError());
        notifier_.show(msg::PartlyWritten());
        return false;
    };
    Bytes ack(kWriteAckSize);
    while (first <= last) {
        if (pump_) pump_();
        if (cancelRequested_) return stopCancelled();
        const std::size_t n = std::min(blockSize, last - first + 1);
        PagerTouched = true;
        if (!sendFrame(WriteRequest(static_cast<std::uint16_t>(first), image.range(first, n))))
            return partly(true);
        switch (waitForCount(kWriteAckSize, timing_.replyWait)) {
        case Wait::LineFailed: return partly(true);
        case Wait::TimedOut: return partly(false);
        case Wait::Done: break;
        }
        if (line_.read(ack.data(), ack.size()) < 0) return partly(true);
        traceFrame(TraceDirection::Received, ack);
        if (ack != WriteAck()) return partly(false);
        first += n;
        sink_->progress(static_cast<int>(first));
    }
    if (line_.close() < 0) return disconnect(msg::WriteError());
    return true;
}

}  // namespace zrv::link
