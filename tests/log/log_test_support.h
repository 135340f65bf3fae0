#pragma once
// What the log's tests share: the Qt application the SQL drivers need, a
// pager image with given serial numbers and capcodes, a log they open.

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "core/capcodes.h"
#include "core/default_image.h"
#include "core/image_layout.h"
#include "core/image_rules.h"
#include "log/programming_log.h"

namespace zrv::test {

inline void EnsureCoreApplication() {
    static int argc = 1;
    static char name[] = "log_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) static QCoreApplication app(argc, argv);
}

/// The start-up image as a pager holding serial number \p serial (11
/// characters and a blank), SSN digit \p ssnDigit in every place, capcode 1
/// \p first (ON) and capcode 2 \p second (off).
inline ConfigImage PagerImage(const std::string& serial, std::uint8_t ssnDigit, std::uint32_t first,
                              std::uint32_t second) {
    ConfigImage image = StartupImage();
    StorePagerSerialNumber(image, serial);
    StoreSerialNumberSum(image);
    image.fill(layout::kSsn.offset, layout::kSsn.length, ssnDigit);
    SetCapcode(image, 0, first);
    SetCapcodeOn(image, 0, true);
    SetCapcode(image, 1, second);
    SetCapcodeOn(image, 1, false);
    return image;
}

/// Opens \p target; the test fails when it cannot.
inline std::unique_ptr<proglog::ProgrammingLog> OpenLog(const proglog::LogTarget& target) {
    EnsureCoreApplication();
    std::string error;
    auto log = proglog::ProgrammingLog::open(target, error);
    EXPECT_TRUE(log) << error;
    return log;
}

inline proglog::LogTarget SqliteTarget(const std::filesystem::path& file) {
    return {proglog::LogTarget::Kind::SQLite, file.string(), "--log-db", false};
}

/// The answer of SQLite's own integrity check of \p file ("ok" when sound).
inline std::string IntegrityOf(const std::filesystem::path& file) {
    EnsureCoreApplication();
    std::string answer;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("integrity"));
        db.setDatabaseName(QString::fromStdString(file.string()));
        if (!db.open()) return "cannot open";
        QSqlQuery q(db);
        answer = q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next() ? q.value(0).toString().toStdString()
                                                                              : "no answer";
    }
    QSqlDatabase::removeDatabase(QStringLiteral("integrity"));
    return answer;
}

}  // namespace zrv::test
