#pragma once
/// \file
/// A serial line whose far end is a BoardSimulator in the same process, for
/// tests and fuzzing of the link without a pseudo-terminal. Time on this
/// line is counted in polls: every look at the line (byte count, single
/// byte, wait) is one tick, so a reply can arrive late without a test
/// waiting for the clock. Replies pass through a filter that may change,
/// cut, repeat or withhold them.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/serial_line.h"
#include "tools/boardsim/board_simulator.h"

namespace zrv::boardsim {

class SimulatedLine : public link::SerialLine {
public:
    /// What goes on the line for one reply of the board.
    struct Delivery {
        Bytes bytes;           ///< what arrives (empty: the reply is withheld)
        unsigned delay = 0;    ///< ticks before the first byte arrives
        unsigned spread = 0;   ///< ticks between further bytes (0: all at once)
    };
    /// Receives the board's reply to the \p index-th frame answered (0 based)
    /// and says what the line carries instead.
    using ReplyFilter = std::function<Delivery(std::size_t index, const Bytes& reply)>;

    explicit SimulatedLine(BoardSimulator& board);

    void setReplyFilter(ReplyFilter filter) { filter_ = std::move(filter); }
    /// Puts \p bytes on the line from the board's side, as if sent unasked.
    void inject(const Bytes& bytes, unsigned delay = 0);
    /// The adapter is pulled out: every later call fails, until replug().
    void unplug() { present_ = false; open_ = false; }
    void replug() { present_ = true; }
    bool present() const { return present_; }
    bool isOpen() const { return open_; }
    /// Number of replies the board has produced so far.
    std::size_t replies() const { return replies_; }

    int open(const std::string& port) override;
    int setLineParameters() override;
    int close() override;
    int status() override;
    int flush() override;
    int send(const std::uint8_t* data, std::size_t length) override;
    int receivedCount() override;
    int read(std::uint8_t* data, std::size_t length) override;
    int readByte() override;
    bool waitForBytes(int milliseconds) override;

private:
    struct Scheduled {
        std::uint64_t due;
        std::uint8_t byte;
    };
    void tick();
    void schedule(const Bytes& bytes, unsigned delay, unsigned spread);
    bool usable() const { return present_ && open_; }

    BoardSimulator& board_;
    ReplyFilter filter_;
    std::deque<Scheduled> inFlight_;
    std::deque<std::uint8_t> received_;
    std::uint64_t now_ = 0;
    std::size_t replies_ = 0;
    bool present_ = true;
    bool open_ = false;
};

}  // namespace zrv::boardsim
