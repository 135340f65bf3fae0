#include "cli/link_cli.h"

#include <QCoreApplication>

#include <iostream>

#include "cli/command.h"
#include "link/programming_session.h"

namespace zrv::cli {
namespace {

// QSerialPort needs an application object; the command-line tool makes one
// the first time a transfer command runs.
void ensureQtApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "zrv41k-cli";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

}  // namespace

const Command& CommandNamed(const std::string& name) {
    for (const auto& c : Commands())
        if (c.name == name) return c;
    return Commands().front();
}

const char* const kLinkOptionsHelp =
    "  --port PATH    try this serial port for the board (repeatable; replaces\n"
    "                 the discovered ports, tried in the order given)\n"
    "  --trace FILE   write a timestamped hex trace of every frame to FILE\n";

bool TakeLinkOptions(std::vector<std::string>& args, LinkOptions& options, std::string& error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--port" || a == "--trace") {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            if (a == "--port")
                options.ports.push_back(args[i + 1]);
            else
                options.trace = args[i + 1];
            ++i;
        } else {
            rest.push_back(a);
        }
    }
    args = std::move(rest);
    return true;
}

void ConsoleSink::status(const Message& text, bool busy) {
    if (!busy) std::cout << text.english << std::endl;
}

LinkSession::LinkSession(const LinkOptions& options, bool answerYes) : notifier_(answerYes) {
    ensureQtApplication();
    link_ = std::make_unique<link::ProgrammerLink>(line_, notifier_, [] {}, &sink_);
    link_->setPortOverride(options.ports);
    link_->setTiming(link::LinkTimingFromEnvironment());
    link_->setFrequencyRecheck(link::ImageFrequencyRecheck(notifier_));
    if (!options.trace.empty()) {
        trace_ = std::make_unique<link::FrameTrace>(options.trace);
        if (!trace_->ok()) {
            std::cerr << "zrv41k-cli: cannot write the trace file " << options.trace << '\n';
            ready_ = false;
        } else {
            link_->setTrace(trace_->hook());
        }
    }
}

LinkSession::~LinkSession() {
    if (link_->BoardPort) link_->BoardControl(link::BoardCommand::Release);
}

bool LinkSession::findBoard() {
    link_->StartupProbe = true;
    const bool found = link_->ProbeBoard();
    link_->StartupProbe = false;
    if (!found && !link_->PortRefusal.empty()) std::cerr << "zrv41k-cli: " << link_->PortRefusal << std::endl;
    return found;
}

void PrintDifferences(const std::string& differences) {
    if (!differences.empty()) std::cout << differences << std::endl;
}

}  // namespace zrv::cli
