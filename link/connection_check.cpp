// Judging the facts of the connection check, and the report.
#include <sys/stat.h>

#include <algorithm>
#include <sstream>

#include "core/image_rules.h"
#include "link/connection_check.h"

namespace zrv::link {
namespace {

constexpr const char* kUdevRuleCommand =
    "sudo cp packaging/60-zrv41k.rules /etc/udev/rules.d/ && sudo udevadm control --reload-rules && "
    "sudo udevadm trigger";

/// \p format with each "%s" replaced by the next of \p args: the English
/// text of a message whose catalogue text places the same arguments.
std::string Fill(std::string_view format, const std::vector<std::string>& args) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's' && next < args.size()) {
            out += args[next++];
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

Message Text(const char* key, const char* format, std::vector<std::string> args = {}) {
    std::string english = Fill(format, args);
    return Message{key, std::move(english), MsgIcon::Information, std::move(args)};
}

Finding Found(Severity severity, Topic topic, Message text, Message fix = {}, std::string command = {}) {
    return Finding{severity, topic, std::move(text), std::move(fix), std::move(command)};
}

std::string Joined(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) out += (out.empty() ? "" : ", ") + item;
    return out;
}

bool Contains(const std::vector<std::string>& items, const std::string& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

const GroupEntry* GroupOf(const ConnectionFacts& facts, unsigned gid) {
    for (const auto& g : facts.groupFile)
        if (g.gid == gid) return &g;
    return nullptr;
}

// The adapters, and the programs that take them away -----------------------------------------

void JudgeAdapters(const ConnectionFacts& facts, std::vector<Finding>& out) {
    for (const auto& a : facts.adapters)
        out.push_back(Found(Severity::Ok, Topic::Adapter,
                            Text("MsgCheckAdapter", "USB-serial adapter %s: %s, driver %s, USB ID %s.",
                                 {a.port, a.description(), a.driver, a.vendorId + ":" + a.productId})));
    if (!facts.adapters.empty()) return;
    if (facts.portsGiven) {
        out.push_back(Found(Severity::Note, Topic::Adapter,
                            Text("MsgCheckNoAdapterGiven",
                                 "No USB-serial adapter is plugged in; only the ports given are tried.")));
        return;
    }
    out.push_back(Found(Severity::Problem, Topic::Adapter,
                        Text("MsgCheckNoAdapter", "No USB-serial adapter is plugged in."),
                        Text("MsgCheckNoAdapterFix",
                             "Plug the programmer board's USB cable into this PC. If it is plugged in, pull it "
                             "out and in again and check again; the kernel's messages show whether it saw "
                             "the adapter:"),
                        "sudo dmesg | tail -n 20"));
}

void JudgeServices(const ConnectionFacts& facts, std::vector<Finding>& out) {
    const ServiceFacts& s = facts.services;
    if (!s.brlttyInstalled) {
        out.push_back(Found(Severity::Ok, Topic::Brltty, Text("MsgCheckNoBrltty", "brltty is not installed.")));
    } else if (s.brlttyRules.empty()) {
        out.push_back(Found(Severity::Ok, Topic::Brltty,
                            Text("MsgCheckBrlttyHarmless", "brltty is installed and leaves USB-serial adapters alone.")));
    } else {
        // With no adapter to be seen, brltty has most likely taken it.
        const bool tookIt = facts.adapters.empty() && !facts.portsGiven;
        out.push_back(Found(tookIt ? Severity::Problem : Severity::Warning, Topic::Brltty,
                            Text("MsgCheckBrltty",
                                 "brltty, a driver for braille displays, is installed with udev rules that take "
                                 "CH340 and CP210x USB-serial adapters (%s): it takes such an adapter away as "
                                 "soon as it is plugged in.",
                                 {Joined(s.brlttyRules)}),
                            Text("MsgCheckBrlttyFix",
                                 "Unless a braille display is used on this PC, remove brltty, then plug the "
                                 "adapter in again:"),
                            "sudo apt remove brltty"));
    }
    if (!s.udevRule.empty()) {
        out.push_back(Found(Severity::Ok, Topic::UdevRule,
                            Text("MsgCheckUdevRule", "The udev rule %s is installed.", {s.udevRule})));
    } else {
        out.push_back(Found(Severity::Warning, Topic::UdevRule,
                            Text("MsgCheckNoUdevRule",
                                 "The package's udev rule (60-zrv41k.rules) is not installed: the adapter's "
                                 "port may be root's alone, and ModemManager may probe the board."),
                            Text("MsgCheckNoUdevRuleFix",
                                 "Install the zrv41k package, which brings the rule, or copy the rule from the "
                                 "source folder:"),
                            kUdevRuleCommand));
    }
    if (!s.modemManagerRunning) {
        out.push_back(Found(Severity::Ok, Topic::ModemManager,
                            Text("MsgCheckNoModemManager", "ModemManager is not running.")));
    } else if (s.portsModemManagerMayOpen.empty()) {
        out.push_back(Found(Severity::Ok, Topic::ModemManager,
                            Text("MsgCheckModemManagerIgnores", "ModemManager is running and leaves the adapters alone.")));
    } else {
        out.push_back(Found(Severity::Warning, Topic::ModemManager,
                            Text("MsgCheckModemManager",
                                 "ModemManager is running and may open %s to look for a modem, which disturbs "
                                 "the board.",
                                 {Joined(s.portsModemManagerMayOpen)}),
                            Text("MsgCheckModemManagerFix",
                                 "Install the package's udev rule, which tells ModemManager to leave the adapter "
                                 "alone; or, when this PC has no modem, stop ModemManager:"),
                            "sudo systemctl disable --now ModemManager"));
    }
}

// The ports ---------------------------------------------------------------------------------------

/// What is wrong with one port, as a finding; nothing when it can be used.
std::optional<Finding> JudgePort(const ConnectionFacts& facts, const PortFacts& p) {
    if (!p.exists)
        return Found(Severity::Problem, Topic::PortMissing, Text("MsgCheckPortMissing", "%s does not exist.", {p.path}),
                     Text("MsgCheckPortMissingFix",
                          "Plug the adapter in, or give the port it has (--port PATH; the adapters found are "
                          "listed above)."));
    if (!p.characterDevice)
        return Found(Severity::Problem, Topic::PortMissing,
                     Text("MsgCheckNotSerial", "%s is not a serial port.", {p.path}),
                     Text("MsgCheckNotSerialFix", "Give the adapter's port, such as /dev/ttyUSB0 (--port PATH)."));
    if (!MayReadAndWrite(facts.uid, facts.groups, p.ownerUid, p.groupId, p.mode)) {
        const std::string mode = ModeText(p.mode);
        const bool groupMayUse = (p.mode & 0060) == 0060;
        if (p.ownerUid != facts.uid && groupMayUse) {
            const GroupEntry* group = GroupOf(facts, p.groupId);
            if (group && Contains(group->members, facts.user))
                return Found(Severity::Problem, Topic::Permission,
                             Text("MsgCheckNewLogin",
                                  "%s belongs to the group %s, which %s joined after this login began: the group "
                                  "counts only from the next login.",
                                  {p.path, p.group, facts.user}),
                             Text("MsgCheckNewLoginFix", "Log out and in again (or restart the PC), then start the program again."));
            return Found(Severity::Problem, Topic::Permission,
                         Text("MsgCheckNoPermission",
                              "%s may not be opened by %s: it belongs to the group %s (%s), and %s is not in that "
                              "group.",
                              {p.path, facts.user, p.group, mode, facts.user}),
                         Text("MsgCheckNoPermissionFix", "Add %s to the group %s, then log out and in again:",
                              {facts.user, p.group}),
                         "sudo usermod -aG " + p.group + " " + facts.user);
        }
        return Found(Severity::Problem, Topic::Permission,
                     Text("MsgCheckOwnerOnly", "%s may be opened by %s only (%s).", {p.path, p.owner, mode}),
                     Text("MsgCheckOwnerOnlyFix",
                          "Install the package's udev rule, which gives the adapter's port to the group dialout:"),
                     kUdevRuleCommand);
    }
    if (!p.holders.empty())
        return Found(Severity::Problem, Topic::Busy,
                     Text("MsgCheckBusy", "%s is in use by %s.", {p.path, Joined(p.holders)}),
                     Text("MsgCheckBusyFix",
                          "Close that program (another zrv41k, a terminal program such as minicom or screen), "
                          "then check again."));
    return std::nullopt;
}

/// A port the system shows as usable that the probe could not open.
Finding JudgeRefusal(const std::string& port, const std::string& refusal) {
    if (refusal == PortBusyRefusal(port))
        return Found(Severity::Problem, Topic::Busy,
                     Text("MsgCheckBusyUnknown", "%s is in use by another program.", {port}),
                     Text("MsgCheckBusyFix",
                          "Close that program (another zrv41k, a terminal program such as minicom or screen), "
                          "then check again."));
    const Topic topic = refusal == PortMissingRefusal(port)      ? Topic::PortMissing
                        : refusal == PortPermissionRefusal(port) ? Topic::Permission
                                                                 : Topic::Port;
    return Found(Severity::Problem, topic,
                 Text("MsgCheckRefused", "%s could not be opened: %s.", {port, refusal}),
                 Text("MsgCheckRefusedFix", "Pull the adapter out and in again, then check again."));
}

void JudgePorts(const ConnectionFacts& facts, std::vector<Finding>& out) {
    for (const auto& p : facts.ports) {
        if (auto problem = JudgePort(facts, p)) {
            out.push_back(std::move(*problem));
            continue;
        }
        const auto refused = std::find_if(facts.probe.refusals.begin(), facts.probe.refusals.end(),
                                          [&p](const auto& r) { return r.first == p.path; });
        if (refused != facts.probe.refusals.end()) {
            out.push_back(JudgeRefusal(p.path, refused->second));
            continue;
        }
        out.push_back(Found(Severity::Ok, Topic::Port,
                            Text("MsgCheckPortOk", "%s can be opened by %s (%s, owner %s, group %s).",
                                 {p.path, facts.user, ModeText(p.mode), p.owner, p.group})));
    }
}

// The board and the pager --------------------------------------------------------------------------

void JudgeBoard(const ConnectionFacts& facts, std::vector<Finding>& out) {
    const ProbeFacts& probe = facts.probe;
    if (!probe.probed) return;
    if (!probe.boardPort) {
        if (facts.ports.empty())
            out.push_back(Found(Severity::Problem, Topic::PortMissing,
                                Text("MsgCheckNoPorts", "There is no serial port to look for the board on."),
                                Text("MsgCheckNoPortsFix", "Plug the programmer board's USB cable into this PC.")));
        else if (!probe.silentPorts.empty())
            out.push_back(Found(Severity::Problem, Topic::Board,
                                Text("MsgCheckNoAnswer", "No programmer board answers on %s.", {Joined(probe.silentPorts)}),
                                Text("MsgCheckNoAnswerFix",
                                     "Check that the board is switched on and its cable sits in the adapter; when "
                                     "the board is on another port, give that port (--port PATH).")));
        return;
    }
    out.push_back(Found(Severity::Ok, Topic::Board,
                        Text("MsgCheckBoard", "The programmer board answers on %s.", {*probe.boardPort})));
    if (probe.pager) {
        const PagerFacts& p = *probe.pager;
        if (p.model.empty())
            out.push_back(Found(Severity::Warning, Topic::Pager,
                                Text("MsgCheckBlankPager",
                                     "The pager in the board gives no model name: the board holds no pager, or a "
                                     "blank one."),
                                Text("MsgCheckPagerFix", "Put a ZR-V41K pager into the board, then check again.")));
        else if (p.model.compare(0, kModelName.size(), kModelName) != 0)
            out.push_back(Found(Severity::Warning, Topic::Pager,
                                Text("MsgCheckOtherPager", "The pager in the board is no ZR-V41K: it names itself %s.",
                                     {p.model}),
                                Text("MsgCheckPagerFix", "Put a ZR-V41K pager into the board, then check again.")));
        else
            out.push_back(Found(Severity::Ok, Topic::Pager,
                                Text("MsgCheckPager", "Pager in the board: %s, firmware %s, serial number %s.",
                                     {p.model, p.firmware, p.serial})));
    } else if (!probe.pagerProblem.empty()) {
        out.push_back(Found(Severity::Warning, Topic::Pager,
                            Text("MsgCheckNoPager", "The board answers, but the pager in it could not be read (%s).",
                                 {probe.pagerProblem}),
                            Text("MsgCheckPagerFix", "Put a ZR-V41K pager into the board, then check again.")));
    }
}

}  // namespace

bool MayReadAndWrite(unsigned uid, const std::vector<unsigned>& groups, unsigned ownerUid, unsigned groupId,
                     unsigned mode) {
    if (uid == 0) return true;
    // The class that applies is the first that fits: owner, group, others.
    if (uid == ownerUid) return (mode & 0600) == 0600;
    if (std::find(groups.begin(), groups.end(), groupId) != groups.end()) return (mode & 0060) == 0060;
    return (mode & 0006) == 0006;
}

std::string ModeText(unsigned mode) {
    std::string text = S_ISCHR(mode) ? "c" : S_ISDIR(mode) ? "d" : S_ISLNK(mode) ? "l" : S_ISREG(mode) ? "-" : "?";
    const char* letters = "rwxrwxrwx";
    for (int bit = 0; bit < 9; ++bit) text += (mode & (0400u >> bit)) ? letters[bit] : '-';
    return text;
}

std::vector<Finding> AssessConnection(const ConnectionFacts& facts) {
    std::vector<Finding> out;
    JudgeAdapters(facts, out);
    JudgeServices(facts, out);
    JudgePorts(facts, out);
    JudgeBoard(facts, out);
    return out;
}

std::optional<Finding> MainProblem(const std::vector<Finding>& findings) {
    for (const auto& f : findings)
        if (f.severity == Severity::Problem) return f;
    return std::nullopt;
}

Finding WhyNoBoard(const SystemView& view, const ProgrammerLink& link, bool portsGiven) {
    ConnectionFacts facts = GatherConnectionFacts(view, link.PortCandidates(), portsGiven);
    facts.probe = ProbeFactsOf(link, link.PortCandidates());
    if (auto problem = MainProblem(AssessConnection(facts))) return *problem;
    // Every fact looks right and still no board answered.
    return Found(Severity::Problem, Topic::Board,
                 Text("MsgCheckNoBoard", "No programmer board answers."),
                 Text("MsgCheckNoAnswerFix",
                      "Check that the board is switched on and its cable sits in the adapter; when the board is "
                      "on another port, give that port (--port PATH)."));
}

bool CallsForConnectionCheck(const Finding& reason) { return reason.topic != Topic::Board; }

Message SeverityLabel(Severity severity) {
    switch (severity) {
        case Severity::Ok: return Message{"MsgCheckOk", "ok"};
        case Severity::Note: return Message{"MsgCheckNote", "note"};
        case Severity::Warning: return Message{"MsgCheckWarning", "warning"};
        case Severity::Problem: break;
    }
    return Message{"MsgCheckProblem", "PROBLEM"};
}

std::string ReportText(const std::vector<Finding>& findings,
                       const std::function<std::string(const Message&)>& textOf) {
    std::ostringstream out;
    for (const auto& f : findings) {
        std::string label = textOf(SeverityLabel(f.severity));
        label.resize(std::max<std::size_t>(label.size() + 1, 9), ' ');
        out << label << textOf(f.text) << '\n';
        if (!f.fix.key.empty()) out << "         " << textOf(f.fix) << '\n';
        if (!f.command.empty()) out << "             " << f.command << '\n';
    }
    return out.str();
}

std::string ReportText(const std::vector<Finding>& findings) {
    return ReportText(findings, [](const Message& m) { return m.english; });
}

}  // namespace zrv::link
