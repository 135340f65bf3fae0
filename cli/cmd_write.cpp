// zrv41k-cli write: a table file into the pager in the board, then verify;
// optionally one pager after another with capcode auto-increment.
#include <iostream>

#include "cli/command.h"
#include "cli/link_cli.h"
#include "core/cp1252.h"
#include "core/default_image.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"
#include "core/table_file.h"
#include "link/programming_session.h"

namespace zrv::cli {
namespace {

int runWrite(const std::vector<std::string>& input);

const CommandRegistration kWrite{Command{
    "write", "write a table file into the pager in the programmer board, then verify",
    std::string(
        "Usage: zrv41k-cli write [--port PATH]... [--trace FILE] IN.tbl [--serial TEXT]\n"
        "                        [--yes] [--auto-increment 1|2|12 --count N [--no-wait]]\n\n"
        "Opens IN.tbl as File > Open does and programs the pager as Pager > Write does\n"
        "in Write mode, then verifies it. Prints 'Write Success!', 'Write Error!' or\n"
        "'Verify Error!' (with the differing addresses).\n\nOptions:\n") +
        kLinkOptionsHelp + kLogDatabaseHelp + kLogOptionsHelp +
        "  --serial TEXT  give the pager this serial number (11 or 12 characters; 11\n"
        "                 get a blank appended, as from the scanner) instead of\n"
        "                 keeping the one it holds\n"
        "  --yes          answer Yes when the pager's model cannot be confirmed\n"
        "  --auto-increment 1|2|12\n"
        "                 program N pagers in turn, raising the first, the second or\n"
        "                 both capcodes after each success\n"
        "  --count N      how many pagers (with --auto-increment)\n"
        "  --no-wait      do not wait for Enter before each pager\n",
    runWrite}};

struct WriteOptions {
    std::string table;
    std::optional<std::string> serial;
    bool yes = false, noWait = false;
    bool auto1 = false, auto2 = false;
    unsigned long long count = 0;
};

bool parseWriteOptions(std::vector<std::string>& args, WriteOptions& w, std::string& error) {
    bool autoGiven = false, countGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string* {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        if (a == "--yes") {
            w.yes = true;
        } else if (a == "--no-wait") {
            w.noWait = true;
        } else if (a == "--serial") {
            const auto* v = value();
            if (!v) return false;
            w.serial = *v;
        } else if (a == "--auto-increment") {
            const auto* v = value();
            if (!v) return false;
            if (*v != "1" && *v != "2" && *v != "12") {
                error = "--auto-increment takes 1, 2 or 12";
                return false;
            }
            w.auto1 = v->find('1') != std::string::npos;
            w.auto2 = v->find('2') != std::string::npos;
            autoGiven = true;
        } else if (a == "--count") {
            const auto* v = value();
            if (!v) return false;
            if (!ParseNumber(*v, w.count, 1000000) || w.count == 0) {
                error = "--count takes a number of pagers from 1";
                return false;
            }
            countGiven = true;
        } else if (!a.empty() && a[0] == '-') {
            error = "unknown option '" + a + "'";
            return false;
        } else if (w.table.empty()) {
            w.table = a;
        } else {
            error = "unexpected argument '" + a + "'";
            return false;
        }
    }
    if (w.table.empty()) error = "IN.tbl is missing";
    else if (autoGiven != countGiven) error = "--auto-increment and --count go together";
    else if (w.noWait && !autoGiven) error = "--no-wait needs --auto-increment";
    if (w.serial) {
        // The scanner delivers 12 characters; 11 get the blank it would add.
        // Characters are counted and stored in the PC code page, as the
        // scanner's are, not as the UTF-8 bytes of the command line.
        *w.serial = Utf8ToCp1252(*w.serial);
        if (w.serial->size() == 11) *w.serial += ' ';
        if (w.serial->size() != 12) error = "--serial takes 11 or 12 characters";
    }
    return error.empty();
}

void printOutcome(link::WriteOutcome outcome, const link::ProgrammerLink& link) {
    if (outcome == link::WriteOutcome::VerifyError) PrintDifferences(link);
}

int writeRepeatedly(LinkSession& session, ConfigImage& image, const WriteOptions& w) {
    link::RepeatedWrite repeated(session.link(), session.sink(), session.notifier(), image,
                                 w.auto1, w.auto2);
    for (unsigned long long k = 1; k <= w.count; ++k) {
        if (!w.noWait) {
            std::cerr << "Put pager " << k << " of " << w.count
                      << " into the board and press Enter" << std::endl;
            std::string line;
            if (!std::getline(std::cin, line)) return kExitFailed;
        }
        if (w.auto1) std::cout << repeated.firstCapcodeLabel() << '\n';
        if (w.auto2) std::cout << repeated.secondCapcodeLabel() << '\n';
        const auto outcome = repeated.cycle();
        printOutcome(outcome, session.link());
        if (outcome != link::WriteOutcome::Success) return kExitFailed;
    }
    return kExitOk;
}

int runWrite(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    LinkOptions options;
    WriteOptions w;
    std::string error;
    const Command& self = CommandByName("write");
    if (!TakeLinkOptions(args, options, error) || !parseWriteOptions(args, w, error))
        return UsageError(self, error);

    ConfigImage image;
    StderrNotifier notifier;
    if (!OpenTableForTransfer(w.table, image, notifier)) return kExitFailed;

    LinkSession session(options, w.yes);
    session.setTableFile(w.table);
    if (!session.ready() || !session.findBoard()) return kExitFailed;
    if (w.serial) {
        StorePagerSerialNumber(image, *w.serial);
        session.link().KeepPagerSerial = false;
    }
    ConvertTextsToPager(image);
    if (w.auto1 || w.auto2) return writeRepeatedly(session, image, w);
    const auto outcome = link::ProgramWrite(session.link(), session.sink(), image);
    printOutcome(outcome, session.link());
    return outcome == link::WriteOutcome::Success ? kExitOk : kExitFailed;
}

}  // namespace
}  // namespace zrv::cli
