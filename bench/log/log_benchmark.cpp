// The programming log: the cost one operation adds to a transfer (a record
// made from an image and stored, the log opened first as the command line
// does, or already open as in the window), and, on a generated log of
// 100,000 records of distinct pagers, the log window opening until its
// first rows are shown, and a search by serial number in the library and in
// the window's search box. Offscreen. The generated log is kept in the
// system's temporary folder between runs (zrv41k-bench-log-100000.sqlite).
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTimeZone>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "core/capcodes.h"
#include "core/default_image.h"
#include "core/image_rules.h"
#include "log/programming_log.h"
#include "log/ui/programming_log_window.h"

namespace {

using namespace zrv;
using proglog::LogTarget;
using proglog::ProgrammingLog;

constexpr int kRecords = 100000;

LogTarget SqliteAt(const std::string& path) { return {LogTarget::Kind::SQLite, path, "--log-db", false}; }

/// The serial number of generated pager \p n.
std::string SerialOf(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "BEN%08d ", n);
    return text;
}

OperationFacts FactsOf(int n) {
    ConfigImage image = StartupImage();
    StorePagerSerialNumber(image, SerialOf(n));
    StoreSerialNumberSum(image);
    SetCapcode(image, 0, static_cast<std::uint32_t>(100000 + n));
    SetCapcodeOn(image, 0, true);
    OperationFacts facts;
    facts.operation = n % 3 == 0 ? PagerOperation::Read : PagerOperation::Write;
    facts.ok = true;
    facts.image = image;
    facts.port = "/dev/ttyUSB0";
    facts.boardFirmware = "01 00";
    facts.tableFile = "/home/dealer/tables/customer" + std::to_string(n % 50) + ".tbl";
    facts.customer = "Customer " + std::to_string(n % 50);
    return facts;
}

/// The generated log of kRecords records, made on first use.
const std::string& GeneratedLog() {
    static const std::string path = [] {
        const std::string file =
            (std::filesystem::temp_directory_path() / "zrv41k-bench-log-100000.sqlite").string();
        std::string error;
        auto log = ProgrammingLog::open(SqliteAt(file), error);
        if (!log) throw std::runtime_error(error);
        auto existing = log->query({}, error);
        if (existing && existing->size() == static_cast<std::size_t>(kRecords)) return file;
        if (existing && !existing->empty()) throw std::runtime_error(file + " holds another log: remove it");
        std::fprintf(stderr, "generating %d records in %s ...\n", kRecords, file.c_str());
        // Generating only: no flush to the disk after each record.
        QSqlQuery(log->database()).exec(QStringLiteral("PRAGMA synchronous=OFF"));
        for (int n = 0; n < kRecords; ++n) {
            proglog::ProgrammingRecord r = proglog::MakeRecord(FactsOf(n));
            // A record a minute, oldest first.
            const QDateTime time = QDateTime(QDate(2024, 1, 1), QTime(0, 0), QTimeZone::utc()).addSecs(60LL * n);
            r.timeUtc = time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ")).toStdString();
            if (!log->append(r, error)) throw std::runtime_error(error);
        }
        return file;
    }();
    return path;
}

/// One operation recorded in the log an open program holds (the window).
void RecordInOpenLog(benchmark::State& state) {
    QTemporaryDir dir;
    std::string error;
    auto log = ProgrammingLog::open(SqliteAt(dir.filePath("log.sqlite").toStdString()), error);
    const OperationFacts facts = FactsOf(1);
    for (auto _ : state) benchmark::DoNotOptimize(log->append(proglog::MakeRecord(facts), error));
}

/// One operation recorded by a program that opens the log for it (the
/// command line: one command, one operation).
void OpenLogAndRecord(benchmark::State& state) {
    QTemporaryDir dir;
    const LogTarget target = SqliteAt(dir.filePath("log.sqlite").toStdString());
    std::string error;
    ProgrammingLog::open(target, error);  // the schema exists, as on every run but the first
    const OperationFacts facts = FactsOf(1);
    for (auto _ : state) {
        auto log = ProgrammingLog::open(target, error);
        benchmark::DoNotOptimize(log->append(proglog::MakeRecord(facts), error));
    }
}

/// Tools > Programming Log on the generated log: the window made, the log
/// set and the window shown with its first rows.
void OpenLogWindow(benchmark::State& state) {
    std::string error;
    auto log = ProgrammingLog::open(SqliteAt(GeneratedLog()), error);
    for (auto _ : state) {
        proglog::ui::ProgrammingLogWindow window;
        window.setLog(log.get(), QString::fromStdString(GeneratedLog()), QString());
        window.show();
        QApplication::processEvents();
        if (window.model().rowCount() == 0) state.SkipWithError("no rows shown");
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}

/// A search by serial number through the library (the command line's --serial).
void SearchBySerial(benchmark::State& state) {
    std::string error;
    auto log = ProgrammingLog::open(SqliteAt(GeneratedLog()), error);
    int n = 0;
    for (auto _ : state) {
        proglog::LogFilter filter;
        filter.serial = SerialOf((n += 7919) % kRecords).substr(0, 11);
        const auto found = log->query(filter, error);
        if (!found || found->size() != 1) state.SkipWithError("the serial number was not found once");
    }
}

/// The same typed into the window's search box: the table shows the match.
void SearchBoxBySerial(benchmark::State& state) {
    std::string error;
    auto log = ProgrammingLog::open(SqliteAt(GeneratedLog()), error);
    proglog::ui::ProgrammingLogWindow window;
    window.setLog(log.get(), QString::fromStdString(GeneratedLog()), QString());
    window.show();
    QApplication::processEvents();
    auto* box = window.findChild<QLineEdit*>(QStringLiteral("edtLogSearch"));
    int n = 0;
    for (auto _ : state) {
        box->setText(QString::fromStdString(SerialOf((n += 7919) % kRecords).substr(0, 11)));
        QApplication::processEvents();
        if (window.model().rowCount() != 1) state.SkipWithError("the search box did not find the serial number once");
    }
}

}  // namespace

BENCHMARK(RecordInOpenLog)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenLogAndRecord)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenLogWindow)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(SearchBySerial)->Unit(benchmark::kMillisecond);
BENCHMARK(SearchBoxBySerial)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
