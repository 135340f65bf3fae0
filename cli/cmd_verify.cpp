// zrv41k-cli verify: compare the pager in the board with a table file.
#include <iostream>

#include "cli/command.h"
#include "cli/link_cli.h"
#include "core/default_image.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"
#include "core/table_file.h"
#include "link/programming_session.h"

namespace zrv::cli {
namespace {

int runVerify(const std::vector<std::string>& args);

const CommandRegistration kVerify{Command{
    "verify", "compare the pager in the programmer board with a table file",
    std::string("Usage: zrv41k-cli verify [--port PATH]... [--trace FILE] IN.tbl\n\n"
                "Opens IN.tbl as File > Open does, reads the pager back and compares it with\n"
                "what a write of IN.tbl would put on this pager now (its own serial number\n"
                "and firmware words, the write's values), every byte but the write marker;\n"
                "the values a read forces are not compared. Prints 'Verify Success!' (exit 0) or\n"
                "'Verify Error!', the differing addresses, e.g. ':3E1:1246', then one line per\n"
                "differing field as 'diff --fields' prints it, the file's value first and the\n"
                "pager's second ('capcode.1: 0000300 -> 0000100'), and the differing bytes\n"
                "no field shows, by region (exit 1).\n\n"
                "Options:\n") + kLinkOptionsHelp + kLogDatabaseHelp + kLogOptionsHelp,
    runVerify}};

int runVerify(const std::vector<std::string>& args) {
    LinkOptions options;
    std::string file;
    if (auto error = TakeLinkArguments(args, options, "IN.tbl is missing", file))
        return UsageError(CommandByName("verify"), *error);

    // The file is opened as for a write; the verify then compares what a
    // write of it would put on the pager in the board now.
    ConfigImage image;
    StderrNotifier notifier;
    if (!OpenTableForTransfer(file, image, notifier)) return kExitFailed;
    ConvertTextsToPager(image);

    LinkSession session(options, false);
    session.setTableFile(file);
    if (!session.ready() || !session.findBoard()) return kExitFailed;
    if (link::ProgramVerify(session.link(), session.sink(), image)) return kExitOk;
    PrintDifferences(session.link());
    return kExitFailed;
}

}  // namespace
}  // namespace zrv::cli
