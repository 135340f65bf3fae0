// zrv41k-cli ports: the serial ports tried for the board, then the probe.
#include <iostream>

#include "cli/command.h"
#include "cli/link_cli.h"

namespace zrv::cli {
namespace {

int runPorts(const std::vector<std::string>& input);

const CommandRegistration kPorts{Command{
    "ports", "list the serial ports tried for the programmer board and probe them",
    std::string("Usage: zrv41k-cli ports [--port PATH]... [--trace FILE]\n\n"
                "Prints the candidate ports in probe order, one a line, then probes them\n"
                "for the programmer board and prints 'board: PATH' (exit 0) or\n"
                "'board: none' (exit 1).\n\nOptions:\n") + kLinkOptionsHelp,
    runPorts}};

int runPorts(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    LinkOptions options;
    std::string error;
    if (!TakeLinkOptions(args, options, error)) return UsageError(CommandByName("ports"), error);
    if (!args.empty())
        return UsageError(CommandByName("ports"), "unexpected argument '" + args.front() + "'");

    LinkSession session(options, false);
    if (!session.ready()) return kExitFailed;
    auto& link = session.link();
    link.DiscoverPorts();
    for (const auto& port : link.PortCandidates()) std::cout << port << '\n';
    std::cout.flush();
    if (!link.ProbeBoard()) {
        std::cout << "board: none" << std::endl;
        if (!link.PortRefusal.empty()) std::cerr << "zrv41k-cli: " << link.PortRefusal << std::endl;
        return kExitFailed;
    }
    std::cout << "board: " << *link.BoardPort << std::endl;
    return kExitOk;
}

}  // namespace
}  // namespace zrv::cli
