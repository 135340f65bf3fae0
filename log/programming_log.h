#pragma once
/// \file
/// The programming log: records of operations on pagers in an SQL database
/// through Qt SQL, SQLite or PostgreSQL with the same schema and the same
/// queries. The program creates the schema on first use and keeps its
/// version in the table schema_version; a newer schema than this program
/// knows is refused. Each record is stored in one transaction, so a record
/// is either whole in the log or not there at all.
///
/// Tables: records (one row per operation), record_capcodes (capcodes 1-16
/// of a record with their ON flags) and record_images (the pager's memory,
/// compressed with zlib in Qt's qCompress form: a 4-byte big-endian length,
/// then the zlib stream). Indexes on the time, the serial numbers, the
/// capcodes and the lower-case search keys of the customer and the table
/// file's name keep the searches fast on a long log.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "log/log_target.h"
#include "log/programming_record.h"

namespace zrv::proglog {

/// Which records a listing or a search shows. Empty members select all.
struct LogFilter {
    /// "YYYY-MM-DD": records from the start of that day (UTC) on; a whole
    /// time "YYYY-MM-DDTHH:MM:SS.mmmZ": records from that moment on
    std::string since;
    std::string until;  ///< "YYYY-MM-DD": records up to the end of that day (UTC)
    std::string serial; ///< the pager's serial number, its SSN or its PSN, exactly
    std::optional<std::uint32_t> capcode;  ///< one of the record's capcodes 1-16
    /// The window's search box: a serial number, SSN or PSN exactly, a
    /// capcode, or the start of the customer's name or of the table file's
    /// name (without its folder), in upper or lower case.
    std::string text;
    /// Records whose note starts with this, exactly (a batch job's rows).
    std::string notePrefix;
    int limit = 0;  ///< at most this many, the newest; 0: all
};

/// True for a date written "YYYY-MM-DD" that exists.
bool ValidDate(const std::string& text);

/// The query of a listing: the SQL with its values in order.
struct ListingQuery {
    QString sql;
    QVariantList values;
};

/// The columns of the summary listing, in order (the window's table).
enum SummaryColumn { kColumnId, kColumnTime, kColumnOperation, kColumnSerial, kColumnFirstCapcode,
                     kColumnResult, kColumnCustomer, kSummaryColumns };

/// The summary of the records \p filter selects, newest first: id, time,
/// operation, serial number, first capcode, result, customer.
ListingQuery SummaryQuery(const LogFilter& filter);

class ProgrammingLog {
public:
    /// The schema this program creates and reads.
    static constexpr int kSchemaVersion = 1;

    /// Opens the log \p target names and creates its schema when it has
    /// none; nothing, with \p error saying why, when the database cannot be
    /// opened, is of a newer schema or cannot take the schema.
    static std::unique_ptr<ProgrammingLog> open(const LogTarget& target, std::string& error);
    ~ProgrammingLog();
    ProgrammingLog(const ProgrammingLog&) = delete;
    ProgrammingLog& operator=(const ProgrammingLog&) = delete;

    /// Stores \p record (its id is ignored) in one transaction; its new id,
    /// or nothing with \p error when it could not be stored (then nothing
    /// of it is in the log).
    std::optional<long long> append(const ProgrammingRecord& record, std::string& error);
    /// The records \p filter selects, newest first, with their capcodes but
    /// without their images.
    std::optional<std::vector<ProgrammingRecord>> query(const LogFilter& filter, std::string& error);
    /// Record \p id whole, its image included; nothing with \p error when
    /// there is no such record or its image is damaged.
    std::optional<ProgrammingRecord> record(long long id, std::string& error);

    /// The connection, for a table model over SummaryQuery.
    QSqlDatabase database() const { return db_; }
    const LogTarget& target() const { return target_; }

private:
    ProgrammingLog(LogTarget target, QString connection);
    bool connect(std::string& error);
    bool prepareSchema(std::string& error);
    bool createSchema(std::string& error);
    bool exec(const QString& sql, std::string& error);
    bool begin(std::string& error);
    bool storeParts(const ProgrammingRecord& record, long long& id, std::string& error);
    bool fillCapcodes(ProgrammingRecord& record, std::string& error);

    LogTarget target_;
    QString connection_;
    QSqlDatabase db_;
    bool postgres_ = false;
};

}  // namespace zrv::proglog
