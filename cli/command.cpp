#include "cli/command.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <stdexcept>

namespace zrv::cli {
namespace {
std::vector<Command>& registry() {
    static std::vector<Command> commands;
    return commands;
}
}  // namespace

const std::vector<Command>& Commands() { return registry(); }

CommandRegistration::CommandRegistration(Command command) {
    auto& commands = registry();
    auto pos = std::lower_bound(commands.begin(), commands.end(), command.name,
                                [](const Command& c, const std::string& n) { return c.name < n; });
    commands.insert(pos, std::move(command));
}

const Command& CommandByName(std::string_view name) {
    const auto& all = Commands();
    const auto it = std::find_if(all.begin(), all.end(), [&](const Command& c) { return c.name == name; });
    if (it == all.end()) throw std::logic_error("no command " + std::string(name));
    return *it;
}

bool WantsHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& a) { return a == "-h" || a == "--help"; });
}

int UsageError(const Command& command, const std::string& message) {
    std::cerr << "zrv41k-cli " << command.name << ": " << message << '\n'
              << "see 'zrv41k-cli " << command.name << " --help'\n";
    return kExitUsage;
}

bool ParseNumber(const std::string& text, unsigned long long& value, unsigned long long max) {
    std::string_view s = text;
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
        base = 16;
    }
    if (s.empty()) return false;
    unsigned long long v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
    if (ec != std::errc() || end != s.data() + s.size() || v > max) return false;
    value = v;
    return true;
}

}  // namespace zrv::cli
