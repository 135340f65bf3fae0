#include "log/programming_log.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QStringList>

#include "core/image.h"
#include "log/log_filter_sql.h"

namespace zrv::proglog {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

/// A NULL of an integer column.
QVariant NullInt() { return QVariant(QMetaType::fromType<int>()); }

template <class T>
QVariant OrNull(const std::optional<T>& value) {
    return value ? QVariant::fromValue(static_cast<qlonglong>(*value)) : NullInt();
}

std::string Reason(const QSqlError& error) {
    QString text = error.databaseText().trimmed();
    if (text.isEmpty()) text = error.driverText().trimmed();
    if (text.isEmpty()) text = error.text().trimmed();
    return text.isEmpty() ? std::string("unknown error") : S(text);
}

/// The columns of records, in the order RecordFromRow reads them.
const char* const kRecordColumns =
    "r.id, r.time_utc, r.operation, r.workstation, r.user_name, r.port, r.board_firmware, r.serial, r.ssn, "
    "r.psn, r.firmware, r.band, r.frequency, r.sha256, r.table_file, r.result, r.customer, r.note";

ProgrammingRecord RecordFromRow(const QSqlQuery& q) {
    ProgrammingRecord r;
    int c = 0;
    r.id = q.value(c++).toLongLong();
    r.timeUtc = S(q.value(c++).toString());
    r.operation = OperationFromName(S(q.value(c++).toString())).value_or(PagerOperation::Read);
    for (std::string* text : {&r.workstation, &r.userName, &r.port, &r.boardFirmware, &r.serial, &r.ssn, &r.psn})
        *text = S(q.value(c++).toString());
    if (const QVariant v = q.value(c++); !v.isNull()) r.firmware = v.toInt();
    if (const QVariant v = q.value(c++); !v.isNull()) r.band = v.toInt();
    if (const QVariant v = q.value(c++); !v.isNull()) r.frequency = static_cast<std::uint32_t>(v.toLongLong());
    for (std::string* text : {&r.sha256, &r.tableFile, &r.result, &r.customer, &r.note})
        *text = S(q.value(c++).toString());
    return r;
}

bool Prepare(QSqlQuery& q, const QString& sql, const QVariantList& values, std::string& error) {
    if (!q.prepare(sql)) {
        error = Reason(q.lastError());
        return false;
    }
    for (const QVariant& v : values) q.addBindValue(v);
    return true;
}

bool Run(QSqlQuery& q, std::string& error) {
    if (q.exec()) return true;
    error = Reason(q.lastError());
    return false;
}

QStringList SchemaStatements(bool postgres) {
    const QString id = postgres ? QStringLiteral("BIGSERIAL PRIMARY KEY") : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    const QString reference = postgres ? QStringLiteral("BIGINT") : QStringLiteral("INTEGER");
    const QString blob = postgres ? QStringLiteral("BYTEA") : QStringLiteral("BLOB");
    // The search keys compare byte by byte on both databases, so that a
    // range over an index finds the texts that start with the typed text.
    const QString keyCollation = postgres ? QStringLiteral(" COLLATE \"C\"") : QString();
    return {
        QStringLiteral("CREATE TABLE records (id %1, time_utc TEXT NOT NULL, operation TEXT NOT NULL, "
                       "workstation TEXT NOT NULL, user_name TEXT NOT NULL, port TEXT NOT NULL, "
                       "board_firmware TEXT NOT NULL, serial TEXT NOT NULL, ssn TEXT NOT NULL, psn TEXT NOT NULL, "
                       "firmware INTEGER, band INTEGER, frequency INTEGER, sha256 TEXT NOT NULL, "
                       "table_file TEXT NOT NULL, result TEXT NOT NULL, customer TEXT NOT NULL, note TEXT NOT NULL, "
                       "customer_key TEXT%2 NOT NULL, file_key TEXT%2 NOT NULL)")
            .arg(id, keyCollation),
        QStringLiteral("CREATE TABLE record_capcodes (record_id %1 NOT NULL REFERENCES records (id), "
                       "slot INTEGER NOT NULL, capcode INTEGER NOT NULL, on_flag INTEGER NOT NULL, "
                       "PRIMARY KEY (record_id, slot))")
            .arg(reference),
        QStringLiteral("CREATE TABLE record_images (record_id %1 PRIMARY KEY REFERENCES records (id), "
                       "image %2 NOT NULL)")
            .arg(reference, blob),
        QStringLiteral("CREATE INDEX records_time ON records (time_utc)"),
        QStringLiteral("CREATE INDEX records_serial ON records (serial)"),
        QStringLiteral("CREATE INDEX records_ssn ON records (ssn)"),
        QStringLiteral("CREATE INDEX records_psn ON records (psn)"),
        QStringLiteral("CREATE INDEX records_customer ON records (customer_key)"),
        QStringLiteral("CREATE INDEX records_file ON records (file_key)"),
        QStringLiteral("CREATE INDEX record_capcodes_capcode ON record_capcodes (capcode)"),
    };
}

/// Any number will do, as long as it is this program's own: the lock that
/// keeps two first users of a new PostgreSQL log from both creating it.
constexpr qlonglong kSchemaLock = 0x7A72763431;  // "zrv41"

std::string UnknownSchema(int version) {
    return "its schema is version " + std::to_string(version) + "; this program knows version " +
           std::to_string(ProgrammingLog::kSchemaVersion) + " only and does not log there";
}

}  // namespace

ProgrammingLog::ProgrammingLog(LogTarget target, QString connection)
    : target_(std::move(target)), connection_(std::move(connection)),
      postgres_(target_.kind == LogTarget::Kind::PostgreSQL) {}

ProgrammingLog::~ProgrammingLog() {
    if (db_.isValid()) db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection_);
}

std::unique_ptr<ProgrammingLog> ProgrammingLog::open(const LogTarget& target, std::string& error) {
    static int connections = 0;
    std::unique_ptr<ProgrammingLog> log(
        new ProgrammingLog(target, QStringLiteral("zrv41k-programming-log-%1").arg(++connections)));
    std::string reason;
    if (log->connect(reason) && log->prepareSchema(reason)) return log;
    error = "the programming log " + ShownLocation(target) + ": " + reason;
    return nullptr;
}

bool ProgrammingLog::connect(std::string& error) {
    const QString driver = postgres_ ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        error = postgres_ ? "Qt's PostgreSQL driver is not installed (Debian package libqt6sql6-psql)"
                          : "Qt's SQLite driver is not installed (Debian package libqt6sql6-sqlite)";
        return false;
    }
    db_ = QSqlDatabase::addDatabase(driver, connection_);
    if (postgres_) {
        const auto address = ParsePostgresUrl(target_.location, error);
        if (!address) return false;
        db_.setHostName(Q(address->host));
        if (address->port) db_.setPort(address->port);
        db_.setUserName(Q(address->user));
        db_.setPassword(Q(address->password));
        db_.setDatabaseName(Q(address->database));
        // A server that cannot be reached must not hold up a transfer for long.
        QString options = Q(address->options);
        if (!options.contains(QStringLiteral("connect_timeout")))
            options += (options.isEmpty() ? QString() : QStringLiteral(";")) + QStringLiteral("connect_timeout=5");
        db_.setConnectOptions(options);
    } else {
        const QFileInfo file(Q(target_.location));
        if (target_.makeFolder) QDir().mkpath(file.absolutePath());
        if (file.exists() && !file.isFile()) {
            error = "it is not a file";
            return false;
        }
        db_.setDatabaseName(file.absoluteFilePath());
        // Another program that logs at the same moment holds the file for a
        // few milliseconds; wait for it rather than fail.
        db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    }
    if (!db_.open()) {
        error = Reason(db_.lastError());
        return false;
    }
    if (!postgres_) {
        // Readers never wait for a writer, and a killed writer leaves the
        // file whole. The mode stays with the file.
        QSqlQuery q(db_);
        if (!q.exec(QStringLiteral("PRAGMA journal_mode")) || !q.next()) {
            error = Reason(q.lastError());
            return false;
        }
        const bool wal = q.value(0).toString().compare(QStringLiteral("wal"), Qt::CaseInsensitive) == 0;
        q.finish();
        if (!wal && !q.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) {
            error = Reason(q.lastError());
            return false;
        }
        // A record is flushed to the disk with the next checkpoint rather
        // than at its commit: a killed program still leaves every committed
        // record whole, only a power cut may lose the last ones, and a
        // record costs a millisecond instead of a flush of the disk.
        if (!q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"))) {
            error = Reason(q.lastError());
            return false;
        }
    }
    return true;
}

bool ProgrammingLog::exec(const QString& sql, std::string& error) {
    QSqlQuery q(db_);
    if (q.exec(sql)) return true;
    error = Reason(q.lastError());
    return false;
}

bool ProgrammingLog::begin(std::string& error) {
    // SQLite: take the write lock at once, so that two writers queue up
    // instead of one of them failing half-way.
    return exec(postgres_ ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"), error);
}

bool ProgrammingLog::prepareSchema(std::string& error) {
    {
        QSqlQuery q(db_);
        if (q.exec(QStringLiteral("SELECT MAX(version) FROM schema_version")) && q.next() && !q.value(0).isNull()) {
            const int version = q.value(0).toInt();
            if (version == kSchemaVersion) return true;
            error = UnknownSchema(version);
            return false;
        }
    }
    return createSchema(error);
}

bool ProgrammingLog::createSchema(std::string& error) {
    if (!begin(error)) return false;
    const auto fail = [this] {
        std::string ignored;
        exec(QStringLiteral("ROLLBACK"), ignored);
        return false;
    };
    if (postgres_ && !exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kSchemaLock), error))
        return fail();
    if (!exec(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"), error))
        return fail();
    // Another program may have created the schema while this one waited.
    {
        QSqlQuery q(db_);
        if (!q.exec(QStringLiteral("SELECT MAX(version) FROM schema_version")) || !q.next()) {
            error = Reason(q.lastError());
            return fail();
        }
        if (!q.value(0).isNull()) {
            const int version = q.value(0).toInt();
            q.finish();
            if (version != kSchemaVersion) {
                error = UnknownSchema(version);
                return fail();
            }
            return exec(QStringLiteral("COMMIT"), error) || fail();
        }
    }
    for (const QString& statement : SchemaStatements(postgres_))
        if (!exec(statement, error)) return fail();
    if (!exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (%1)").arg(kSchemaVersion), error))
        return fail();
    return exec(QStringLiteral("COMMIT"), error) || fail();
}

std::optional<long long> ProgrammingLog::append(const ProgrammingRecord& record, std::string& error) {
    if (!begin(error)) return std::nullopt;
    long long id = 0;
    if (storeParts(record, id, error) && exec(QStringLiteral("COMMIT"), error)) return id;
    std::string ignored;
    exec(QStringLiteral("ROLLBACK"), ignored);
    return std::nullopt;
}

bool ProgrammingLog::storeParts(const ProgrammingRecord& r, long long& id, std::string& error) {
    {
        QSqlQuery q(db_);
        const QVariantList values{Q(r.timeUtc), Q(std::string(OperationName(r.operation))), Q(r.workstation),
                                  Q(r.userName), Q(r.port), Q(r.boardFirmware), Q(r.serial), Q(r.ssn), Q(r.psn),
                                  OrNull(r.firmware), OrNull(r.band), OrNull(r.frequency), Q(r.sha256),
                                  Q(r.tableFile), Q(r.result), Q(r.customer), Q(r.note),
                                  SearchKey(Q(r.customer)), SearchKey(QFileInfo(Q(r.tableFile)).fileName())};
        if (!Prepare(q,
                     QStringLiteral("INSERT INTO records (time_utc, operation, workstation, user_name, port, "
                                    "board_firmware, serial, ssn, psn, firmware, band, frequency, sha256, table_file, "
                                    "result, customer, note, customer_key, file_key) "
                                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id"),
                     values, error) ||
            !Run(q, error))
            return false;
        if (!q.next()) {
            error = "the new record got no id";
            return false;
        }
        id = q.value(0).toLongLong();
    }
    QSqlQuery capcodes(db_);
    if (!capcodes.prepare(QStringLiteral(
            "INSERT INTO record_capcodes (record_id, slot, capcode, on_flag) VALUES (?, ?, ?, ?)"))) {
        error = Reason(capcodes.lastError());
        return false;
    }
    for (const RecordedCapcode& c : r.capcodes) {
        capcodes.addBindValue(static_cast<qlonglong>(id));
        capcodes.addBindValue(c.slot);
        capcodes.addBindValue(static_cast<qlonglong>(c.capcode));
        capcodes.addBindValue(c.on ? 1 : 0);
        if (!Run(capcodes, error)) return false;
    }
    if (!r.image) return true;
    const auto& bytes = r.image->bytes();
    const QByteArray packed =
        qCompress(reinterpret_cast<const uchar*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    QSqlQuery image(db_);
    return Prepare(image, QStringLiteral("INSERT INTO record_images (record_id, image) VALUES (?, ?)"),
                   {static_cast<qlonglong>(id), packed}, error) &&
           Run(image, error);
}

bool ProgrammingLog::fillCapcodes(ProgrammingRecord& record, std::string& error) {
    QSqlQuery q(db_);
    if (!Prepare(q, QStringLiteral("SELECT slot, capcode, on_flag FROM record_capcodes WHERE record_id = ? "
                                   "ORDER BY slot"),
                 {static_cast<qlonglong>(record.id)}, error) ||
        !Run(q, error))
        return false;
    record.capcodes.clear();
    while (q.next())
        record.capcodes.push_back({q.value(0).toInt(), static_cast<std::uint32_t>(q.value(1).toLongLong()),
                                   q.value(2).toInt() != 0});
    return true;
}

std::optional<std::vector<ProgrammingRecord>> ProgrammingLog::query(const LogFilter& filter, std::string& error) {
    QVariantList values;
    const QString sql = QStringLiteral("SELECT ") + QLatin1String(kRecordColumns) +
                        QStringLiteral(" FROM records r") + WhereClause(filter, values) + OrderAndLimit(filter);
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!Prepare(q, sql, values, error) || !Run(q, error)) return std::nullopt;
    std::vector<ProgrammingRecord> records;
    while (q.next()) records.push_back(RecordFromRow(q));
    q.finish();
    for (ProgrammingRecord& r : records)
        if (!fillCapcodes(r, error)) return std::nullopt;
    return records;
}

std::optional<ProgrammingRecord> ProgrammingLog::record(long long id, std::string& error) {
    ProgrammingRecord r;
    {
        QSqlQuery q(db_);
        if (!Prepare(q, QStringLiteral("SELECT ") + QLatin1String(kRecordColumns) +
                            QStringLiteral(" FROM records r WHERE r.id = ?"),
                     {static_cast<qlonglong>(id)}, error) ||
            !Run(q, error))
            return std::nullopt;
        if (!q.next()) {
            error = "there is no record " + std::to_string(id);
            return std::nullopt;
        }
        r = RecordFromRow(q);
    }
    if (!fillCapcodes(r, error)) return std::nullopt;
    QSqlQuery q(db_);
    if (!Prepare(q, QStringLiteral("SELECT image FROM record_images WHERE record_id = ?"),
                 {static_cast<qlonglong>(id)}, error) ||
        !Run(q, error))
        return std::nullopt;
    if (!q.next()) return r;  // an operation that left no image (a failed read)
    const QByteArray bytes = qUncompress(q.value(0).toByteArray());
    ConfigImage image;
    if (bytes.size() == static_cast<qsizetype>(kImageSize))
        std::copy(bytes.begin(), bytes.end(), image.bytes().begin());
    if (bytes.size() != static_cast<qsizetype>(kImageSize) || ImageSha256(image) != r.sha256) {
        error = "the image of record " + std::to_string(id) + " is damaged (it does not match its SHA-256)";
        return std::nullopt;
    }
    r.image = image;
    return r;
}

}  // namespace zrv::proglog
