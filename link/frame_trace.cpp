#include "link/frame_trace.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace zrv::link {

FrameTrace::FrameTrace(const std::string& path) : out_(path, std::ios::trunc) {}

std::string FrameTrace::FormatLine(TraceDirection direction, std::span<const std::uint8_t> bytes) {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(millis));
    std::string line = stamp;
    line += direction == TraceDirection::Sent ? " >" : " <";
    char hex[4];
    for (auto b : bytes) {
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
    }
    return line;
}

TraceHook FrameTrace::hook() {
    return [this](TraceDirection direction, std::span<const std::uint8_t> bytes) {
        out_ << FormatLine(direction, bytes) << '\n';
        out_.flush();
    };
}

}  // namespace zrv::link
