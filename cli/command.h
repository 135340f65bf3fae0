#pragma once
/// \file
/// The subcommands of zrv41k-cli. Each subcommand lives in its own file and
/// registers itself with a static CommandRegistration, so the dispatcher in
/// main.cpp never changes when a subcommand is added.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zrv::cli {

/// Exit statuses of every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Command {
    std::string name;     ///< first word on the command line, e.g. "check"
    std::string summary;  ///< one line for the tool's --help
    std::string usage;    ///< the subcommand's --help text
    /// Runs with the words after the subcommand's name; returns the exit status.
    std::function<int(const std::vector<std::string>& args)> run;
};

/// All registered subcommands, in name order.
const std::vector<Command>& Commands();

struct CommandRegistration {
    explicit CommandRegistration(Command command);
};

/// The registered command called \p name (for its usage text).
const Command& CommandByName(std::string_view name);

/// True when \p args asks for help (-h or --help anywhere).
bool WantsHelp(const std::vector<std::string>& args);

/// Prints "zrv41k-cli NAME: MESSAGE" and "see 'zrv41k-cli NAME --help'" to
/// stderr; returns kExitUsage.
int UsageError(const Command& command, const std::string& message);

/// Parses a non-negative number in decimal or 0x hexadecimal; false when the
/// text is not such a number or exceeds \p max.
bool ParseNumber(const std::string& text, unsigned long long& value,
                 unsigned long long max = ~0ull);

}  // namespace zrv::cli
