// zrv41k-cli new: a table file holding what the program holds after start-up.
#include <iostream>

#include "cli/cli_notifier.h"
#include "cli/command.h"
#include "cli/table_cli.h"
#include "core/default_image.h"
#include "core/image_rules.h"
#include "core/table_file.h"

namespace zrv::cli {
namespace {

int runNew(const std::vector<std::string>& args);

const CommandRegistration kNew{{
    "new", "create a table file with the start-up configuration",
    "Usage: zrv41k-cli new OUT.tbl\n\n"
    "Saves the configuration the program holds after start-up (the built-in\n"
    "default image with the source enables cleared) as OUT.tbl, through the\n"
    "same steps as File > Save with 16 capcodes in use. An existing OUT.tbl is\n"
    "replaced; when the save fails it is left as it was.\n",
    runNew,
}};

int runNew(const std::vector<std::string>& args) {
    if (auto error = TakeFileName(args, "OUT.tbl is missing")) return UsageError(CommandByName("new"), *error);
    ConfigImage image = StartupImage();
    StderrNotifier notifier;
    FileLock lock;
    if (!LockTable(args[0], lock, notifier)) return kExitFailed;
    if (auto failure = SaveTableFile(args[0], image, kDefaultCapcodeCount)) {
        notifier.show(*failure);
        return kExitFailed;
    }
    std::cout << args[0] << ": new table file, " << kImageSize << " bytes\n";
    return kExitOk;
}

}  // namespace
}  // namespace zrv::cli
