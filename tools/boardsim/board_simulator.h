#pragma once
/// \file
/// A programmer board with a pager in it: parses the frames the PC sends
/// and produces the board's answers, with the faults a test or a user may
/// ask for. The pseudo-terminal and the pacing live in main.cpp.

#include <cstdint>
#include <string>
#include <vector>

#include "core/image.h"

namespace zrv::boardsim {

using Bytes = std::vector<std::uint8_t>;

/// Faults of the simulated board; counts are frames answered before the
/// fault starts.
struct Faults {
    long silentAfter = -1;      ///< stop answering after this many answers
    long vanishAfter = -1;      ///< disappear after this many answers
    long badAckAfter = -1;      ///< wrong write acknowledgement after this many write blocks
    bool plainChecksum = false; ///< read replies carry the plain sum instead of sum - 3
    long stuckAddress = -1;     ///< a memory byte that keeps its value when written
};

/// What the board does with one received frame.
struct Outcome {
    Bytes reply;          ///< bytes to send back (may be empty)
    bool vanish = false;  ///< the board disappears instead of answering
    std::string event;    ///< a line for the simulator's log ("" for none)
};

class BoardSimulator {
public:
    BoardSimulator(const ConfigImage& memory, const Faults& faults);

    /// Feeds received bytes; returns the outcomes of every frame completed.
    std::vector<Outcome> receive(const std::uint8_t* data, std::size_t length);

    const ConfigImage& memory() const { return memory_; }

private:
    Outcome handle(const Bytes& frame);
    Outcome answer(Bytes reply, std::string event);

    ConfigImage memory_;
    Faults faults_;
    Bytes pending_;
    long answered_ = 0;
    long writeBlocks_ = 0;
};

/// 16-bit sum, carry dropped.
std::uint16_t Sum16(const std::uint8_t* data, std::size_t length);

}  // namespace zrv::boardsim
