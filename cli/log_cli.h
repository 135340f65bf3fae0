#pragma once
/// \file
/// The programming log as the command line uses it: the options every
/// operation on a pager takes (--log-db, --no-log),
/// the choice of the database, and the recording of each operation, which
/// never changes the operation's own outcome: a record that cannot be
/// written is a warning on stderr.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/pager_operation.h"
#include "log/log_target.h"

namespace zrv::proglog {
class ProgrammingLog;
}

namespace zrv::cli {

struct LogOptions {
    std::optional<std::string> database;  ///< --log-db FILE|URL
    bool off = false;                     ///< --no-log
};

/// Takes the log's options out of \p args (the rest stays, in order);
/// false with \p error set when one lacks its value.
bool TakeLogOptions(std::vector<std::string>& args, LogOptions& options, std::string& error);

/// Help text lines for --log-db and --no-log.
extern const char* const kLogDatabaseHelp;
/// Help text lines for the log's options of an operation on a pager.
extern const char* const kLogOptionsHelp;

/// The log the command line writes to: --log-db, the window's setting,
/// ZRV41K_LOG_DB, else programming-log.sqlite in the program folder.
proglog::LogTarget CommandLineLogTarget(const std::optional<std::string>& option);

/// Records each operation of one command in the programming log.
class OperationLogger {
public:
    /// \p printId: tell stderr the new record's id ("logged as record 12").
    OperationLogger(LogOptions options, bool printId);
    ~OperationLogger();

    /// The table file the command reads or writes (kept with its full path).
    void setTableFile(const std::string& path);
    /// The customer and the note of the records from now on (a batch job's row).
    void setCustomerAndNote(std::string customer, std::string note) {
        customer_ = std::move(customer);
        note_ = std::move(note);
    }
    /// Records \p facts with the table file, customer and note; a record
    /// that cannot be stored is told on stderr and nothing else changes.
    void record(OperationFacts facts);

private:
    LogOptions options_;
    bool printId_;
    std::string tableFile_;
    std::string customer_;
    std::string note_;
    std::unique_ptr<proglog::ProgrammingLog> log_;
    std::string openError_;  ///< why the log could not be opened
};

}  // namespace zrv::cli
