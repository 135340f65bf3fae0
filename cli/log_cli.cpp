#include "cli/log_cli.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <filesystem>
#include <iostream>

#include "cli/qt_application.h"
#include "i18n/program_location.h"
#include "log/programming_log.h"

namespace zrv::cli {

const char* const kLogDatabaseHelp =
    "  --log-db FILE|URL\n"
    "                 the programming log: an SQLite file, or a PostgreSQL server\n"
    "                 as postgresql://USER@HOST/DATABASE (default: the window's\n"
    "                 setting, else $ZRV41K_LOG_DB, else programming-log.sqlite in\n"
    "                 the program's data folder)\n";

const char* const kLogOptionsHelp =
    "  --no-log       do not record the operation in the programming log (each\n"
    "                 operation is recorded, and stderr names its record)\n";

bool TakeLogOptions(std::vector<std::string>& args, LogOptions& options, std::string& error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--no-log") {
            options.off = true;
            continue;
        }
        if (a != "--log-db") {
            rest.push_back(a);
            continue;
        }
        if (i + 1 >= args.size()) {
            error = a + " needs a value";
            return false;
        }
        options.database = args[++i];
    }
    args = std::move(rest);
    return true;
}

proglog::LogTarget CommandLineLogTarget(const std::optional<std::string>& option) {
    EnsureQtApplication();
    // The same program folder as the window's: beside the program in the
    // build folder, the user's data folder when installed.
    const auto folders = i18n::ResolveProgramFolders(
        QCoreApplication::applicationDirPath().toStdString(), QDir::currentPath().toStdString(),
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString());
    const QSettings settings(QStringLiteral("zrv41k"), QStringLiteral("zrv41k"));
    const QString setting = settings.value(QLatin1String(proglog::kLogDatabaseSetting)).toString();
    return proglog::ChooseLogTarget(option, setting.isEmpty() ? std::nullopt : std::optional(setting.toStdString()),
                                    std::getenv(proglog::kLogDatabaseVariable), folders.program);
}

OperationLogger::OperationLogger(LogOptions options, bool printId)
    : options_(std::move(options)), printId_(printId) {}

OperationLogger::~OperationLogger() = default;

void OperationLogger::setTableFile(const std::string& path) {
    std::error_code ec;
    const auto full = std::filesystem::absolute(path, ec);
    tableFile_ = ec ? path : full.string();
}

void OperationLogger::record(OperationFacts facts) {
    if (options_.off) return;
    facts.tableFile = tableFile_;
    facts.customer = customer_;
    facts.note = note_;
    // The log is opened when the first operation has ended, once per command.
    if (!log_ && openError_.empty()) {
        log_ = proglog::ProgrammingLog::open(CommandLineLogTarget(options_.database), openError_);
        if (!log_ && openError_.empty()) openError_ = "it cannot be opened";
    }
    std::string error = openError_;
    if (log_) {
        if (const auto id = log_->append(proglog::MakeRecord(facts), error)) {
            if (printId_) std::cerr << "zrv41k-cli: logged as record " << *id << std::endl;
            return;
        }
        error = "the programming log " + proglog::ShownLocation(log_->target()) + ": " + error;
    }
    std::cerr << "zrv41k-cli: warning: the " << OperationName(facts.operation)
              << " is not in the programming log: " << error << std::endl;
}

}  // namespace zrv::cli
