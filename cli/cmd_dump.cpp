// zrv41k-cli dump: a hex dump of a table file.
#include <iostream>

#include "cli/cli_notifier.h"
#include "cli/command.h"
#include "cli/table_cli.h"

namespace zrv::cli {
namespace {

int runDump(const std::vector<std::string>& args);

const CommandRegistration kDump{{
    "dump", "hex dump of a table file",
    "Usage: zrv41k-cli dump FILE.tbl [--from OFFSET] [--length N]\n\n"
    "Prints the stored bytes sixteen a line: the offset, the bytes in\n"
    "hexadecimal and the printable characters ('.' for the others).\n"
    "The file must have a table file's size (22016 or 3456 bytes); its identity\n"
    "and checksum are not required.\n\n"
    "  --from OFFSET   first byte to show (default 0)\n"
    "  --length N      number of bytes to show (default: to the end of the file;\n"
    "                  a length past the end stops at the end)\n"
    "OFFSET and N are decimal or 0x hexadecimal.\n",
    runDump,
}};

constexpr std::size_t kBytesPerLine = 16;

void printLine(std::size_t offset, const std::uint8_t* bytes, std::size_t count) {
    std::string line = Hex(offset, 4) + " ";
    static const char* const digits = "0123456789ABCDEF";
    for (std::size_t k = 0; k < kBytesPerLine; ++k) {
        if (k == 8) line += ' ';
        if (k < count) {
            line += ' ';
            line += digits[bytes[k] >> 4];
            line += digits[bytes[k] & 0xF];
        } else {
            line += "   ";
        }
    }
    line += "  |";
    for (std::size_t k = 0; k < count; ++k)
        line += (bytes[k] >= 0x20 && bytes[k] < 0x7F) ? static_cast<char>(bytes[k]) : '.';
    line += "|\n";
    std::cout << line;
}

int runDump(const std::vector<std::string>& args) {
    const Command& self = CommandByName("dump");
    ParsedArgs parsed;
    if (auto error = TakeArguments(
            args, {{"--from", "--length"}, {}, {"FILE.tbl is missing"}, 1, "expected one file name"}, parsed))
        return UsageError(self, *error);
    unsigned long long from = 0, length = ~0ull;
    if (parsed.values.count("--from") && !ParseNumber(parsed.values["--from"], from))
        return UsageError(self, "--from takes a decimal or 0x hexadecimal offset");
    if (parsed.values.count("--length") && !ParseNumber(parsed.values["--length"], length))
        return UsageError(self, "--length takes a decimal or 0x hexadecimal number");
    StderrNotifier notifier;
    const auto bytes = ReadStoredTable(parsed.positional[0], notifier);
    if (!bytes) return kExitFailed;
    if (from >= bytes->size())
        return UsageError(self, "--from " + parsed.values["--from"] + " lies past the end of the file (" +
                                    std::to_string(bytes->size()) + " bytes)");
    const std::size_t end = static_cast<std::size_t>(
        std::min<unsigned long long>(bytes->size(), from + std::min(length, bytes->size() - from)));
    for (std::size_t at = static_cast<std::size_t>(from); at < end; at += kBytesPerLine)
        printLine(at, bytes->data() + at, std::min(kBytesPerLine, end - at));
    return kExitOk;
}

}  // namespace
}  // namespace zrv::cli
