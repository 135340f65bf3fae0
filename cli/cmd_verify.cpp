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

int runVerify(const std::vector<std::string>& input);

const CommandRegistration kVerify{Command{
    "verify", "compare the pager in the programmer board with a table file",
    std::string("Usage: zrv41k-cli verify [--port PATH]... [--trace FILE] IN.tbl\n\n"
                "Opens IN.tbl as File > Open does, reads the pager back and compares every\n"
                "byte but the write marker. Prints 'Verify Success!' (exit 0) or\n"
                "'Verify Error!' and the differing addresses, e.g. ':3E1:1246' (exit 1).\n\n"
                "Options:\n") + kLinkOptionsHelp,
    runVerify}};

int runVerify(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    LinkOptions options;
    std::string error;
    const Command& self = CommandNamed("verify");
    if (!TakeLinkOptions(args, options, error)) return UsageError(self, error);
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-')
        return UsageError(self, args.empty() ? "IN.tbl is missing" : "unexpected argument '" + args.back() + "'");

    // A short table file defines only its first bytes; the rest is what
    // the program holds after start-up, as for a write.
    ConfigImage image = StartupImage();
    int capcodeCount = kDefaultCapcodeCount;
    StderrNotifier notifier;
    const auto loaded = LoadTableFile(args[0], image, capcodeCount);
    if (!loaded.ok) {
        if (loaded.message) notifier.show(*loaded.message);
        return kExitFailed;
    }
    ApplyRefreshForcedValues(image);
    ConvertTextsToPager(image);

    LinkSession session(options, false);
    if (!session.ready() || !session.findBoard()) return kExitFailed;
    if (link::ProgramVerify(session.link(), session.sink(), image)) return kExitOk;
    PrintDifferences(session.link().VerifyDifferences());
    return kExitFailed;
}

}  // namespace
}  // namespace zrv::cli
