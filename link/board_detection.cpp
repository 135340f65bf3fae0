// Finding the programmer board among the serial ports, and its start and
// release commands.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "link/link_messages.h"
#include "link/programmer_link.h"

namespace zrv::link {

void ProgrammerLink::DiscoverPorts() {
    if (!portOverride_.empty()) {
        candidates_ = portOverride_;
        return;
    }
    candidates_ = OrderPortCandidates(SystemSerialDevices(), [](const std::string& path) {
        std::error_code ec;
        return std::filesystem::exists(path, ec);
    });
}

bool ProgrammerLink::ProbeBoard() {
    DiscoverPorts();
    PortRefusal.clear();
    PortRefusals.clear();
    ProbeOpenedAPort = false;
    for (const auto& port : candidates_) {
        BoardPort = port;
        if (line_.status() >= 0) line_.close();
        if (!OpenPort(port)) {
            const std::string refusal = line_.openRefusal();
            if (!refusal.empty()) {
                PortRefusal += (PortRefusal.empty() ? "" : "; ") + refusal;
                PortRefusals.emplace_back(port, refusal);
            }
            continue;
        }
        ProbeOpenedAPort = true;
        Bytes reply;
        // A silent port costs up to a second of waiting; the window goes on
        // processing its events meanwhile (its owner keeps other users of
        // the port away until the probe has ended).
        if (!exchangeShortReply(IdentifyRequest(), kIdentifyReplySize - 1, reply) ||
            !IdentifyReplyValid(reply)) {
            line_.close();
            continue;
        }
        char firmware[8];
        std::snprintf(firmware, sizeof firmware, "%02X %02X", reply[kFrameHeaderSize], reply[kFrameHeaderSize + 1]);
        BoardFirmware = firmware;
        BoardControl(BoardCommand::Start);
        if (line_.status() >= 0) line_.close();
        return true;
    }
    if (StartupProbe) notifier_.show(msg::BoardNotResponding());
    BoardPort.reset();
    BoardFirmware.clear();
    return false;
}

bool ProgrammerLink::PollBoard() {
    DiscoverPorts();
    if (!BoardPort) return !candidates_.empty() && ProbeBoard();
    std::error_code ec;
    const bool listed =
        std::find(candidates_.begin(), candidates_.end(), *BoardPort) != candidates_.end();
    // A port given with --port stays in the list; the device itself must still exist.
    if (listed && std::filesystem::exists(*BoardPort, ec)) return true;
    BoardPort.reset();
    BoardFirmware.clear();
    return false;
}

void ProgrammerLink::BoardControl(BoardCommand command) {
    if (!BoardPort) return;  // no board: there is nobody to start or release
    if (line_.status() < 0) OpenPort(*BoardPort);
    Bytes reply;
    const bool answered =
        exchangeShortReply(BoardControlFrame(command), kBoardControlAckSize - 1, reply);
    if (line_.status() >= 0) line_.close();
    if (!answered || reply != BoardControlAck()) notifier_.show(msg::ProgrammerInitialError());
}

}  // namespace zrv::link
