// The waits of the protocol as this run uses them.
#include <charconv>
#include <cstdlib>
#include <string_view>

#include "link/programmer_link.h"

namespace zrv::link {

LinkTiming LinkTimingFromSetting(const char* text) {
    LinkTiming timing;
    if (!text) return timing;
    const std::string_view s = text;
    unsigned long long ms = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), ms);
    // Anything but a plain number up to the board's own pause keeps the board's pause.
    if (!s.empty() && ec == std::errc() && end == s.data() + s.size() &&
        ms <= static_cast<unsigned long long>(timing.readPause.count()))
        timing.readPause = std::chrono::milliseconds(ms);
    return timing;
}

LinkTiming LinkTimingFromEnvironment() { return LinkTimingFromSetting(std::getenv(kReadPauseVariable)); }

}  // namespace zrv::link
