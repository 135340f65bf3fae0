// zrv41k-cli doctor: why the programmer board can or cannot be reached,
// with a fix for each problem found.
#include <iostream>

#include "cli/command.h"
#include "cli/json_document.h"
#include "cli/link_cli.h"
#include "link/connection_check.h"

namespace zrv::cli {
namespace {

int runDoctor(const std::vector<std::string>& input);

const CommandRegistration kDoctor{Command{
    "doctor", "check the connection to the programmer board and say how to fix what is wrong",
    "Usage: zrv41k-cli doctor [--port PATH]... [--json]\n\n"
    "Checks what stands between this PC and the programmer board: the USB-serial\n"
    "adapters (driver, USB vendor and product), each candidate port (there,\n"
    "readable and writable by you, your groups, held by another program), the\n"
    "package's udev rule, ModemManager and brltty, then probes the ports for the\n"
    "board and reads the model, firmware and serial number of the pager in it.\n"
    "Each finding comes with a plain fix; a fix that needs root is printed as a\n"
    "command, never run. Nothing on the system is changed.\n\n"
    "Exit status: 0 when a board answers, 1 when none does.\n\nOptions:\n"
    "  --port PATH    check and probe this port instead of the discovered ones\n"
    "                 (repeatable)\n"
    "  --json         print the facts and findings as JSON (for a support request)\n",
    runDoctor}};

const char* severityName(link::Severity s) {
    switch (s) {
        case link::Severity::Ok: return "ok";
        case link::Severity::Note: return "note";
        case link::Severity::Warning: return "warning";
        case link::Severity::Problem: break;
    }
    return "problem";
}

const char* topicName(link::Topic t) {
    switch (t) {
        case link::Topic::Adapter: return "adapter";
        case link::Topic::Brltty: return "brltty";
        case link::Topic::UdevRule: return "udev-rule";
        case link::Topic::ModemManager: return "modemmanager";
        case link::Topic::PortMissing: return "port-missing";
        case link::Topic::Permission: return "permission";
        case link::Topic::Busy: return "busy";
        case link::Topic::Port: return "port";
        case link::Topic::Board: return "board";
        case link::Topic::Pager: break;
    }
    return "pager";
}

Json optionalText(const std::optional<std::string>& text) { return text ? Json(*text) : Json(nullptr); }

Json asJson(const link::ConnectionFacts& facts, const std::vector<link::Finding>& findings) {
    Json doc = Json::object();
    doc["board"] = optionalText(facts.probe.boardPort);
    if (facts.probe.pager)
        doc["pager"] = {{"model", facts.probe.pager->model},
                        {"firmware", facts.probe.pager->firmware},
                        {"serial", facts.probe.pager->serial}};
    else
        doc["pager"] = nullptr;
    doc["user"] = {{"name", facts.user}, {"uid", facts.uid}, {"groups", facts.groups}};
    Json adapters = Json::array();
    for (const auto& a : facts.adapters)
        adapters.push_back({{"port", a.port}, {"driver", a.driver}, {"vendor", a.vendorId}, {"product", a.productId},
                            {"manufacturer", a.manufacturer}, {"name", a.product}, {"by_id", a.byId}});
    doc["adapters"] = adapters;
    Json ports = Json::array();
    for (const auto& p : facts.ports)
        ports.push_back({{"path", p.path}, {"exists", p.exists}, {"mode", p.exists ? link::ModeText(p.mode) : ""},
                         {"owner", p.owner}, {"group", p.group},
                         {"read_write", p.exists && link::MayReadAndWrite(facts.uid, facts.groups, p.ownerUid,
                                                                           p.groupId, p.mode)},
                         {"held_by", p.holders}});
    doc["ports"] = ports;
    doc["services"] = {{"udev_rule", facts.services.udevRule},
                       {"modemmanager_running", facts.services.modemManagerRunning},
                       {"brltty_installed", facts.services.brlttyInstalled},
                       {"brltty_rules", facts.services.brlttyRules}};
    Json list = Json::array();
    for (const auto& f : findings)
        list.push_back({{"severity", severityName(f.severity)}, {"topic", topicName(f.topic)},
                        {"text", f.text.english}, {"fix", f.fix.english}, {"command", f.command}});
    doc["findings"] = list;
    return doc;
}

int runDoctor(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    LinkOptions options;
    std::string error;
    if (!TakeLinkOptions(args, options, error)) return UsageError(CommandByName("doctor"), error);
    bool json = false;
    for (const auto& a : args) {
        if (a == "--json")
            json = true;
        else
            return UsageError(CommandByName("doctor"), "unexpected argument '" + a + "'");
    }
    if (!options.trace.empty()) return UsageError(CommandByName("doctor"), "doctor takes no --trace");

    LinkSession session(options, false);  // the serial line and its application object
    const link::SystemView view = link::SystemView::ThisProcess();
    link::ConnectionFacts facts =
        link::GatherConnectionFacts(view, link::CandidatePorts(view, options.ports), !options.ports.empty());
    link::ProbeForCheck(session.line(), view, link::LinkTimingFromEnvironment(), {}, true, facts);
    const auto findings = link::AssessConnection(facts);
    if (json) {
        std::cout << asJson(facts, findings).dump(2) << std::endl;
    } else {
        std::cout << link::ReportText(findings);
        std::cout << "board: " << (facts.probe.boardPort ? *facts.probe.boardPort : std::string("none")) << std::endl;
    }
    return facts.probe.boardPort ? kExitOk : kExitFailed;
}

}  // namespace
}  // namespace zrv::cli
