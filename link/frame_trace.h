#pragma once
/// \file
/// A service trace of the board exchanges: one line per frame, with the
/// time of day, the direction (">" to the board, "<" from it) and the bytes
/// in hexadecimal.

#include <fstream>
#include <memory>
#include <string>

#include "link/programmer_link.h"

namespace zrv::link {

class FrameTrace {
public:
    /// Opens (and truncates) \p path; ok() tells whether that worked.
    explicit FrameTrace(const std::string& path);
    bool ok() const { return out_.good(); }
    /// The hook to give ProgrammerLink::setTrace; the trace must outlive it.
    TraceHook hook();

    /// One trace line, without the newline ("06:40:12.123 > 51 61 6E").
    static std::string FormatLine(TraceDirection direction, std::span<const std::uint8_t> bytes);

private:
    std::ofstream out_;
};

}  // namespace zrv::link
