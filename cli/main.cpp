// zrv41k-cli: the programmer's operations without a window.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "core/default_image.h"

namespace {

void printHelp(std::ostream& out) {
    out << "Usage: zrv41k-cli COMMAND [OPTIONS] [ARGS]\n\n"
           "Prepares, checks and transfers ZRV41K pager configurations (table files).\n\n"
           "Commands:\n";
    for (const auto& c : zrv::cli::Commands()) {
        out << "  " << c.name;
        for (std::size_t k = c.name.size(); k < 10; ++k) out << ' ';
        out << "  " << c.summary << '\n';
    }
    out << "\nRun 'zrv41k-cli COMMAND --help' for the options of one command;\n"
           "'zrv41k-cli --version' prints the program name and version.\n"
           "Offsets and lengths are accepted in decimal and in 0x hexadecimal.\n"
           "Exit status: 0 success, 1 the operation failed, 2 usage error.\n";
}

}  // namespace

int main(int argc, char** argv) {
    // Under a file-size limit a save then fails with an error and says so,
    // instead of the program being killed half-way through writing.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << "zrv41k-cli: no command given\nsee 'zrv41k-cli --help'\n";
        return zrv::cli::kExitUsage;
    }
    if (args[0] == "-h" || args[0] == "--help" || args[0] == "help") {
        printHelp(std::cout);
        return zrv::cli::kExitOk;
    }
    if (args[0] == "--version") {
        std::cout << "zrv41k-cli " << zrv::kVersionDigits << '\n';
        return zrv::cli::kExitOk;
    }
    for (const auto& c : zrv::cli::Commands()) {
        if (c.name != args[0]) continue;
        std::vector<std::string> rest(args.begin() + 1, args.end());
        if (zrv::cli::WantsHelp(rest)) {
            std::cout << c.usage;
            return zrv::cli::kExitOk;
        }
        return c.run(rest);
    }
    std::cerr << "zrv41k-cli: unknown command '" << args[0] << "'\nsee 'zrv41k-cli --help'\n";
    return zrv::cli::kExitUsage;
}
