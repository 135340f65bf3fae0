// zrv41k-cli read: the pager in the board into a table file.
#include <iostream>

#include "cli/command.h"
#include "cli/link_cli.h"
#include "cli/table_cli.h"
#include "core/image_rules.h"
#include "core/table_file.h"
#include "link/programming_session.h"

namespace zrv::cli {
namespace {

int runRead(const std::vector<std::string>& args);

const CommandRegistration kRead{Command{
    "read", "read the pager in the programmer board into a table file",
    std::string("Usage: zrv41k-cli read [--port PATH]... [--trace FILE] OUT.tbl\n\n"
                "Finds the programmer board, reads the whole pager, applies what the\n"
                "program applies after a read and saves the image as OUT.tbl. A read that\n"
                "fails leaves OUT.tbl as it was.\n\nOptions:\n") + kLinkOptionsHelp + kLogDatabaseHelp + kLogOptionsHelp,
    runRead}};

int runRead(const std::vector<std::string>& args) {
    LinkOptions options;
    std::string file;
    if (auto error = TakeLinkArguments(args, options, "OUT.tbl is missing", file))
        return UsageError(CommandByName("read"), *error);

    LinkSession session(options, false);
    session.setTableFile(file);
    if (!session.ready() || !session.findBoard()) return kExitFailed;
    ConfigImage image;
    int capcodeCount = kDefaultCapcodeCount;
    if (!link::ProgramRead(session.link(), session.sink(), image, capcodeCount)) return kExitFailed;
    // Showing the image in the window refreshes it, which forces two values.
    ApplyRefreshForcedValues(image);
    FileLock lock;
    if (!LockTable(file, lock, session.notifier())) return kExitFailed;
    if (auto failure = SaveTableFile(file, image, capcodeCount)) {
        session.notifier().show(*failure);
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace
}  // namespace zrv::cli
