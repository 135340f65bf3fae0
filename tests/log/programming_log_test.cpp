// The programming log itself, the same on SQLite and on a PostgreSQL server:
// whole records in, found by every filter, the image back as it was; a
// damaged image and a newer schema refused.
#include <QSqlQuery>
#include <QVariant>

#include "log/record_text.h"
#include "tests/log/log_test_support.h"
#include "tests/log/postgres_server.h"

namespace zrv::test {
namespace {

using proglog::LogFilter;
using proglog::ProgrammingLog;
using proglog::ProgrammingRecord;

class ProgrammingLogTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        EnsureCoreApplication();
        if (GetParam() == "SQLite") {
            target = SqliteTarget(dir / "log.sqlite");
            return;
        }
        server = std::make_unique<PostgresServer>();
        if (!server->installed()) GTEST_SKIP() << "skipped: " << server->why();
        ASSERT_TRUE(server->running()) << server->why();
        target = {proglog::LogTarget::Kind::PostgreSQL, server->url(), "--log-db", false};
    }

    ProgrammingRecord recordOf(PagerOperation operation, const ConfigImage& image, const std::string& time,
                               const std::string& customer, const std::string& file) {
        OperationFacts facts;
        facts.operation = operation;
        facts.ok = true;
        facts.image = image;
        facts.port = "/dev/ttyUSB0";
        facts.boardFirmware = "01 00";
        facts.customer = customer;
        facts.tableFile = file;
        ProgrammingRecord r = proglog::MakeRecord(facts);
        r.timeUtc = time;
        return r;
    }

    TempDir dir;
    std::unique_ptr<PostgresServer> server;
    proglog::LogTarget target;
};

TEST_P(ProgrammingLogTest, KeepsWholeRecordsFindsThemByEveryFilterAndGivesTheImageBack) {
    const auto log = OpenLog(target);
    ASSERT_TRUE(log);
    const ConfigImage a = PagerImage("ABC00000001 ", 0x1, 1000001, 1000002);
    const ConfigImage b = PagerImage("ABC00000002 ", 0x2, 2000001, 2000002);
    const ConfigImage c = PagerImage("XYZ00000003 ", 0xC, 3000001, 1000001);
    std::string error;
    const auto idA = log->append(recordOf(PagerOperation::Write, a, "2024-03-01T08:00:00.000Z", "Acme Paging", "/t/acme.tbl"), error);
    const auto idB = log->append(recordOf(PagerOperation::Read, b, "2024-03-02T09:00:00.000Z", "", "/t/b.tbl"), error);
    const auto idC =
        log->append(recordOf(PagerOperation::RepeatedWrite, c, "2024-03-03T23:59:59.999Z", "Hospital 100%", ""), error);
    OperationFacts failed;
    failed.operation = PagerOperation::Read;
    failed.result = "Read Error! Msg16: This pager is not ZR-V41K !";
    ProgrammingRecord noImage = proglog::MakeRecord(failed);
    noImage.timeUtc = "2024-03-04T10:00:00.000Z";
    const auto idD = log->append(noImage, error);
    ASSERT_TRUE(idA && idB && idC && idD) << error;

    struct Case {
        const char* what;
        LogFilter filter;
        std::vector<long long> ids;  // newest first
    };
    LogFilter bySerial, bySsn, byPsn, byCapcode, byDays, byCustomer, byPercent, byFile, byCapcodeText, newest;
    bySerial.serial = "ABC00000002";
    bySsn.serial = "cccccccccccccccc";  // typed in lower case
    byPsn.serial = "000000000000";
    byCapcode.capcode = 1000001;  // capcode 1 of a, capcode 2 of c
    byDays.since = "2024-03-02";
    byDays.until = "2024-03-03";
    byCustomer.text = "acme";  // the start of "Acme Paging"
    byPercent.text = "HOSPITAL 100%";
    byFile.text = "b.tbl";
    byCapcodeText.text = "2000002";
    newest.limit = 2;
    const Case cases[] = {
        {"everything", LogFilter{}, {*idD, *idC, *idB, *idA}},
        {"serial number", bySerial, {*idB}},
        {"SSN", bySsn, {*idC}},
        {"PSN", byPsn, {*idC, *idB, *idA}},
        {"any capcode", byCapcode, {*idC, *idA}},
        {"two whole days", byDays, {*idC, *idB}},
        {"the start of a customer", byCustomer, {*idA}},
        {"a customer typed in capitals, a percent sign", byPercent, {*idC}},
        {"a file name without its folder", byFile, {*idB}},
        {"a capcode typed", byCapcodeText, {*idB}},
        {"the newest two", newest, {*idD, *idC}},
    };
    for (const Case& c : cases) {
        const auto found = log->query(c.filter, error);
        ASSERT_TRUE(found) << c.what << ": " << error;
        std::vector<long long> ids;
        for (const auto& r : *found) ids.push_back(r.id);
        EXPECT_EQ(ids, c.ids) << c.what;
    }

    const auto back = log->record(*idA, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->image, a);
    EXPECT_EQ(back->sha256, proglog::ImageSha256(a));
    EXPECT_EQ(back->serial, "ABC00000001");
    EXPECT_EQ(back->ssn, "1111111111111111");
    EXPECT_EQ(back->operation, PagerOperation::Write);
    EXPECT_EQ(back->customer, "Acme Paging");
    EXPECT_EQ(back->boardFirmware, "01 00");
    ASSERT_EQ(back->capcodes.size(), 16u);
    EXPECT_EQ(back->capcodes[0], (proglog::RecordedCapcode{1, 1000001, true}));
    EXPECT_EQ(back->capcodes[1], (proglog::RecordedCapcode{2, 1000002, false}));
    const auto failedBack = log->record(*idD, error);
    ASSERT_TRUE(failedBack) << error;
    EXPECT_FALSE(failedBack->image);
    EXPECT_EQ(failedBack->result, "Read Error! Msg16: This pager is not ZR-V41K !");
    EXPECT_FALSE(log->record(*idD + 1, error));

    // An image changed behind the log's back no longer matches its hash.
    ConfigImage changed = b;
    changed.setByte(0x100, static_cast<std::uint8_t>(changed.byte(0x100) ^ 0xFF));
    const auto& bytes = changed.bytes();
    QSqlQuery tamper(log->database());
    ASSERT_TRUE(tamper.prepare(QStringLiteral("UPDATE record_images SET image = ? WHERE record_id = ?")));
    tamper.addBindValue(qCompress(reinterpret_cast<const uchar*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    tamper.addBindValue(static_cast<qlonglong>(*idB));
    ASSERT_TRUE(tamper.exec());
    EXPECT_FALSE(log->record(*idB, error));
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
}

TEST_P(ProgrammingLogTest, ASchemaNewerThanTheProgramKnowsIsRefusedAndLeftAlone) {
    {
        const auto log = OpenLog(target);
        ASSERT_TRUE(log);
        QSqlQuery q(log->database());
        ASSERT_TRUE(q.exec(QStringLiteral("UPDATE schema_version SET version = 2")));
    }
    std::string error;
    EXPECT_FALSE(ProgrammingLog::open(target, error));
    EXPECT_NE(error.find("its schema is version 2; this program knows version 1 only"), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Databases, ProgrammingLogTest, ::testing::Values("SQLite", "PostgreSQL"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace zrv::test
