// The probe of the connection check: the board on the candidate ports and
// the pager in it, with what the link would have shown kept as facts.
#include <cstdio>
#include <map>

#include "core/image_layout.h"
#include "core/image_rules.h"
#include "core/serial_fields.h"
#include "link/connection_check.h"

namespace zrv::link {
namespace {

namespace L = zrv::layout;

/// A notifier that keeps what the link would have shown.
class KeepingNotifier : public Notifier {
public:
    void show(const Message& message) override { last = message.english; }
    bool ask(const Message& message) override {
        last = message.english;
        return false;
    }
    std::string last;
};

PagerFacts pagerFactsOf(const ConfigImage& buffer) {
    PagerFacts p;
    for (std::size_t a = L::kPagerIdentity.offset; a <= L::kPagerIdentity.last(); ++a) {
        const auto c = buffer.byte(a);
        if (c < 0x20 || c > 0x7E) break;
        p.model.push_back(static_cast<char>(c));
    }
    while (!p.model.empty() && p.model.back() == ' ') p.model.pop_back();
    const auto firmware = buffer.byte(L::kFirmwareVersion);
    if (firmware == 0xFF) {
        p.firmware = "-";
    } else {
        char text[16];
        std::snprintf(text, sizeof text, "%0.1f", firmware * 0.1);
        p.firmware = text;
    }
    p.serial = SerialNumberValid(buffer) ? PagerSerialText(buffer) : std::string("-");
    return p;
}

}  // namespace

ProbeFacts ProbeFactsOf(const ProgrammerLink& link, const std::vector<std::string>& ports) {
    ProbeFacts probe;
    probe.probed = true;
    probe.boardPort = link.BoardPort;
    if (probe.boardPort) return probe;
    for (const auto& port : ports) {
        const auto refused = std::find_if(link.PortRefusals.begin(), link.PortRefusals.end(),
                                          [&port](const auto& r) { return r.first == port; });
        if (refused != link.PortRefusals.end())
            probe.refusals.push_back(*refused);
        else if (link.ProbeOpenedAPort)
            probe.silentPorts.push_back(port);
        else
            probe.refusals.emplace_back(port, "the system gave no reason");
    }
    return probe;
}

void ProbeForCheck(SerialLine& line, const SystemView& view, const LinkTiming& timing, const Pump& pump,
                   bool release, ConnectionFacts& facts) {
    std::vector<std::string> opened;  // the ports as the link opens them, below the root
    std::map<std::string, std::string> shown;
    for (const auto& p : facts.ports) {
        opened.push_back(view.at(p.path).string());
        shown[opened.back()] = p.path;
    }
    facts.probe = ProbeFacts{};
    facts.probe.probed = true;
    if (opened.empty()) return;  // an empty override would mean discovery
    KeepingNotifier notifier;
    ProgrammerLink link(line, notifier, pump);
    link.setTiming(timing);
    link.setPortOverride(opened);
    const bool found = link.ProbeBoard();
    ProbeFacts probe = ProbeFactsOf(link, opened);
    const auto shownPath = [&shown](const std::string& p) { return shown.count(p) ? shown[p] : p; };
    if (probe.boardPort) probe.boardPort = shownPath(*probe.boardPort);
    for (auto& p : probe.silentPorts) p = shownPath(p);
    for (auto& r : probe.refusals) r.first = shownPath(r.first);
    if (found) {
        notifier.last.clear();
        if (link.ReadRange(L::kPagerIdentity.offset, L::kPagerSerialWithSum.last(), kMaxBlock))
            probe.pager = pagerFactsOf(link.PagerBuffer());
        else
            probe.pagerProblem = notifier.last.empty() ? std::string("no answer") : notifier.last;
        if (release) link.BoardControl(BoardCommand::Release);
    }
    facts.probe = std::move(probe);
}

}  // namespace zrv::link
