#pragma once
/// \file
/// How a LogFilter becomes SQL: the WHERE clause with its bound values and
/// the order and limit, the same text for SQLite and PostgreSQL.

#include <QString>
#include <QVariantList>

#include "log/programming_log.h"

namespace zrv::proglog {

/// The search key of a customer's name or a table file's name, as stored
/// and as searched: in lower case.
QString SearchKey(const QString& text);
/// " WHERE ..." for \p filter (empty when it filters nothing); the values
/// to bind in order are appended to \p values.
QString WhereClause(const LogFilter& filter, QVariantList& values);
/// " ORDER BY ... [LIMIT n]": the newest first.
QString OrderAndLimit(const LogFilter& filter);

}  // namespace zrv::proglog
