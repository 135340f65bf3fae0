#include "cli/link_cli.h"

#include <QCoreApplication>

#include <iostream>
#include <sstream>

#include "cli/command.h"
#include "cli/field_cli.h"
#include "cli/table_cli.h"
#include "core/batch_run.h"
#include "core/image_rules.h"
#include "core/table_file.h"
#include "link/link_messages.h"
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

std::optional<std::string> TakeLinkArguments(const std::vector<std::string>& input, LinkOptions& options,
                                             const std::string& missing, std::string& file) {
    std::vector<std::string> args = input;
    std::string error;
    if (!TakeLinkOptions(args, options, error)) return error;
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-')
        return args.empty() ? missing : "unexpected argument '" + args.back() + "'";
    file = args[0];
    return std::nullopt;
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
    const bool found = link_->ProbeBoard();
    if (!found) TellNoBoard(link_.get(), notifier_);
    return found;
}

void TellNoBoard(const link::ProgrammerLink* link, Notifier& notifier) {
    // "Not responding" only when a port opened and stayed silent (or there
    // was none to try); a port that could not be opened is told as such.
    if (link->ProbeOpenedAPort || link->PortRefusal.empty()) notifier.show(link::msg::BoardNotResponding());
    if (!link->PortRefusal.empty()) std::cerr << "zrv41k-cli: " << link->PortRefusal << std::endl;
}

bool OpenTableForTransfer(const std::string& path, ConfigImage& image, Notifier& notifier) {
    const auto loaded = OpenTemplateTable(path, image);
    if (!loaded.ok) ShowTableRefusal(loaded, notifier);
    return loaded.ok;
}

void PrintDifferences(const link::ProgrammerLink& link) {
    if (link.VerifyDifferences().empty()) return;
    std::ostringstream out;
    out << link.VerifyDifferences() << '\n';
    const ImageComparison c = link.VerifyComparison();
    for (const FieldDifference& d : c.fields) out << DifferenceLine(d, [](const std::string& v) { return TerminalText(v); }) << '\n';
    for (const ByteDifference& d : c.bytes) out << DifferenceLine(d) << '\n';
    std::cout << out.str() << std::flush;
}

}  // namespace zrv::cli
