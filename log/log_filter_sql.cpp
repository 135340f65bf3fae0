// A LogFilter as SQL: the listing's WHERE clause, order and limit.
#include "log/log_filter_sql.h"

#include <QDate>
#include <QStringList>

namespace zrv::proglog {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

/// The start of the day after \p date ("YYYY-MM-DD").
QString NextDay(const std::string& date) {
    const QDate day = QDate::fromString(Q(date), Qt::ISODate);
    return day.isValid() ? day.addDays(1).toString(Qt::ISODate) : Q(date);
}

/// The condition that \p column starts with the key of \p text: a range
/// over its index, from the key up to the key followed by the highest
/// character there is.
QString StartsWith(const char* column, const std::string& text, QVariantList& values) {
    const QString key = SearchKey(Q(text));
    values << key << key + QString::fromUcs4(U"\U0010FFFF");
    return QStringLiteral("(r.%1 >= ? AND r.%1 < ?)").arg(QLatin1String(column));
}

std::optional<std::uint32_t> CapcodeText(const std::string& text) {
    if (text.empty() || text.size() > 7) return std::nullopt;
    std::uint32_t value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(ch - '0');
    }
    return value;
}

const QString kHasCapcode =
    QStringLiteral("r.id IN (SELECT c.record_id FROM record_capcodes c WHERE c.capcode = ?)");
const QString kHasSerial = QStringLiteral("r.serial = ? OR r.ssn = ? OR r.psn = ?");

void AddSerial(const std::string& serial, QVariantList& values) {
    values << Q(serial) << Q(serial).toUpper() << Q(serial).toUpper();
}

/// " WHERE ..." for \p filter (or nothing), its values appended to \p values.
}  // namespace

QString SearchKey(const QString& text) { return text.toLower(); }

QString WhereClause(const LogFilter& filter, QVariantList& values) {
    QStringList conditions;
    if (!filter.since.empty()) {
        conditions << QStringLiteral("r.time_utc >= ?");
        values << Q(filter.since);
    }
    if (!filter.until.empty()) {
        conditions << QStringLiteral("r.time_utc < ?");
        values << NextDay(filter.until);
    }
    if (!filter.serial.empty()) {
        conditions << QLatin1Char('(') + kHasSerial + QLatin1Char(')');
        AddSerial(filter.serial, values);
    }
    if (filter.capcode) {
        conditions << kHasCapcode;
        values << static_cast<qlonglong>(*filter.capcode);
    }
    if (!filter.notePrefix.empty()) {
        // substr counts characters in SQLite and PostgreSQL alike.
        const QString prefix = Q(filter.notePrefix);
        conditions << QStringLiteral("substr(r.note, 1, ?) = ?");
        values << static_cast<qlonglong>(prefix.toUcs4().size()) << prefix;
    }
    if (!filter.text.empty()) {
        // Every part of the search has an index of its own, so that the
        // database joins a few index look-ups instead of reading the log.
        AddSerial(filter.text, values);
        QString any = kHasSerial + QStringLiteral(" OR ") + StartsWith("customer_key", filter.text, values) +
                      QStringLiteral(" OR ") + StartsWith("file_key", filter.text, values);
        if (const auto capcode = CapcodeText(filter.text)) {
            any += QStringLiteral(" OR ") + kHasCapcode;
            values << static_cast<qlonglong>(*capcode);
        }
        conditions << QLatin1Char('(') + any + QLatin1Char(')');
    }
    return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

QString OrderAndLimit(const LogFilter& filter) {
    QString text = QStringLiteral(" ORDER BY r.time_utc DESC, r.id DESC");
    if (filter.limit > 0) text += QStringLiteral(" LIMIT %1").arg(filter.limit);
    return text;
}


bool ValidDate(const std::string& text) {
    return text.size() == 10 && QDate::fromString(Q(text), Qt::ISODate).isValid();
}

ListingQuery SummaryQuery(const LogFilter& filter) {
    ListingQuery q;
    q.sql = QStringLiteral(
                "SELECT r.id, r.time_utc, r.operation, r.serial, "
                "(SELECT c.capcode FROM record_capcodes c WHERE c.record_id = r.id AND c.slot = 1), "
                "r.result, r.customer FROM records r") +
            WhereClause(filter, q.values) + OrderAndLimit(filter);
    return q;
}

}  // namespace zrv::proglog
