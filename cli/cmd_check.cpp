// zrv41k-cli check: the checks File > Open makes, without loading anything.
#include <iostream>

#include "cli/cli_notifier.h"
#include "cli/command.h"
#include "cli/table_cli.h"
#include "core/table_file.h"

namespace zrv::cli {
namespace {

int runCheck(const std::vector<std::string>& args);

const CommandRegistration kCheck{{
    "check", "check a table file as File > Open does",
    "Usage: zrv41k-cli check FILE.tbl\n\n"
    "Runs the checks of File > Open: the size (22016 bytes, or 3456 for the\n"
    "short form), that the file can be read, the model identity and, for a\n"
    "full file, the table checksum. Prints 'ok: full' or 'ok: short' and exits\n"
    "0, or prints the message of the first failed check and exits 1.\n",
    runCheck,
}};

int runCheck(const std::vector<std::string>& args) {
    if (auto error = TakeFileName(args, "FILE.tbl is missing")) return UsageError(CommandByName("check"), *error);
    const auto result = CheckTableFile(args[0]);
    if (!result.ok) {
        StderrNotifier notifier;
        ShowTableRefusal(result, notifier);
        return kExitFailed;
    }
    std::cout << (result.form == TableForm::Full ? "ok: full" : "ok: short") << '\n';
    return kExitOk;
}

}  // namespace
}  // namespace zrv::cli
