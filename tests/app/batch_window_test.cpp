// Pager > Batch Job... as a dealer works a customer's list through it,
// against the board simulator: the files chosen, each pager written with
// Enter or F4 and verified, a row skipped and one redone, the delivery
// note, a list with a refused value that writes nothing, a board lost
// in the middle of a row, and a job cut short that goes on after a restart.
#include <QAction>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <regex>

#include "app/log_commands.h"
#include "core/batch_run.h"
#include "core/capcode_rules.h"
#include "core/image_layout.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"
#include "core/pager_normalisation.h"
#include "core/table_file.h"
#include "link/board_session.h"
#include "link/programming_session.h"
#include "link/ui/batch_window.h"
#include "log/programming_log.h"
#include "tests/app/window_fixture.h"
#include "tests/link/boardsim_process.h"

namespace zrv::test {
namespace {

using link::ui::BatchWindow;

constexpr const char* kPagerSerial = "PAGER0000042";

class BatchWindowTest : public WindowTest {
protected:
    void SetUp() override {
        qputenv(link::kReadPauseVariable, "0");  // the simulator answers at once
        WindowTest::SetUp();
    }
    void TearDown() override {
        WindowTest::TearDown();
        qunsetenv(link::kReadPauseVariable);
    }

    /// Starts the main window with a pager holding the start-up table in \p board.
    void startWith(std::unique_ptr<Boardsim>& board, std::vector<std::string> faults = {}) {
        WriteMemoryFile(dir / "pager.tbl", SampleImage());
        std::vector<std::string> args{"--table", (dir / "pager.tbl").string(), "--serial", kPagerSerial};
        args.insert(args.end(), faults.begin(), faults.end());
        board = std::make_unique<Boardsim>(args);
        options.probeBoard = true;
        options.ports = {board->path()};
        start();
        ASSERT_TRUE(win().boardSession().boardPort().has_value());
    }

    /// Chooses Pager > Batch Job..., runs \p steps once the window is up,
    /// then closes it with Close.
    void inBatchWindow(const std::function<void(BatchWindow&)>& steps) {
        bool ran = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* w = win().findChild<BatchWindow*>("frmBatch");
            if (!w || !w->isVisible()) return;
            poll.stop();
            ran = true;
            steps(*w);
            in<QPushButton>(*w, "btnBatchClose").click();
        });
        poll.start(10);
        QAction* entry = win().findChild<QAction*>("mnuBatchJob");
        ASSERT_NE(entry, nullptr);
        entry->trigger();
        EXPECT_TRUE(ran) << "the Batch Job window did not open";
        EXPECT_FALSE(win().boardSession().portInUse()) << "the port is free again";
    }
    template <class T>
    static T& in(BatchWindow& w, const char* name) {
        T* found = w.findChild<T*>(name);
        if (!found) throw std::logic_error(std::string("frmBatch has no ") + name);
        return *found;
    }
    static QString cell(BatchWindow& w, int row, int column) {
        const QTableWidgetItem* item = in<QTableWidget>(w, "grdBatchRows").item(row, column);
        return item ? item->text() : QString();
    }
    static QString prompt(BatchWindow& w) { return in<QLabel>(w, "lblBatchPrompt").text(); }
    /// The row shown as the one to write next (bold); -1 for none.
    static int highlighted(BatchWindow& w) {
        auto& grid = in<QTableWidget>(w, "grdBatchRows");
        int found = -1;
        for (int r = 0; r < grid.rowCount(); ++r)
            if (grid.item(r, 1)->font().bold()) {
                EXPECT_EQ(found, -1) << "two rows highlighted";
                found = r;
            }
        return found;
    }
    /// Chooses \p path in the next open dialog that \p button brings up.
    void choose(BatchWindow& w, const char* button, const std::filesystem::path& path) {
        nextOpen = QString::fromStdString(path.string());
        in<QPushButton>(w, button).click();
    }
    bool boardWrote() {
        const auto lines = board->log();
        return std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("write ", 0) == 0; });
    }

    TempDir dir;
    std::unique_ptr<Boardsim> board;
};

/// What the pager holds after a write of \p row over \p templ: the row's
/// image in the pager's character set, prepared as every write prepares it,
/// with the pager's own serial number kept, the synthesizer words of the
/// row's frequency for the pager's firmware, and the write's seal.
ConfigImage WrittenRow(const BatchRow& row, const ConfigImage& templ) {
    ConfigImage image;
    EXPECT_FALSE(BuildRowImage(row, templ, kDefaultCapcodeCount, image).has_value()) << row.name;
    ConvertTextsToPager(image);
    PrepareForWrite(image);
    const std::uint8_t firmware = SampleImage().byte(layout::kFirmwareVersion);  // the pager's
    image.setByte(layout::kFirmwareVersion, firmware);
    RecordingNotifier silent;
    EXPECT_TRUE(link::ImageFrequencyRecheck(silent)(image, firmware == 0xFF)) << row.name;
    StorePagerSerialNumber(image, kPagerSerial);
    StoreSerialNumberSum(image);
    SealForWrite(image);
    return image;
}

/// The first address at which \p a and \p b differ, or -1.
long FirstDifference(const ConfigImage& a, const ConfigImage& b) {
    for (std::size_t i = 0; i < kImageSize; ++i)
        if (a.byte(i) != b.byte(i)) return static_cast<long>(i);
    return -1;
}

TEST_F(BatchWindowTest, ThreeRowsAreWrittenAndVerifiedOneAfterAnotherWithOneSkipped) {
    startWith(board);
    // The template is a table file of its own, not the document the window shows.
    ConfigImage file = SampleImage();
    ASSERT_TRUE(StoreCapcodeText(file, 1, "0001999").ok);
    const auto templatePath = dir / "ward.tbl";
    ASSERT_FALSE(SaveTableFile(templatePath, file, 16).has_value());
    const std::string csv =
        "name,capcode.1,contrast,prompt.0,frequency,customer\n"
        "p1,1301,2,Gr\xC3\xBC\xC3\x9F Gott,,Ward Hospital\n"
        "p2,1302,3,,,\n"
        "p3,1303,2,,1531250,\n";  // its own frequency, not the main window's
    WriteFile(dir / "job.csv", csv);
    const BatchJob job = ReadBatchJob(csv).job;
    ConfigImage templ;
    ASSERT_TRUE(OpenTemplateTable(templatePath, templ).ok);
    const ConfigImage document = image();

    inBatchWindow([&](BatchWindow& w) {
        EXPECT_EQ(in<QLineEdit>(w, "edtBatchTemplate").text(), "the open configuration (default.tbl)");
        EXPECT_EQ(prompt(w), "Choose the list of pagers (CSV).");
        EXPECT_FALSE(in<QPushButton>(w, "btnBatchWrite").isEnabled());
        choose(w, "btnBatchTemplate", templatePath);
        choose(w, "btnBatchJob", dir / "job.csv");
        ASSERT_NE(w.job(), nullptr);
        EXPECT_EQ(in<QLineEdit>(w, "edtBatchCustomer").text(), "Ward Hospital");
        ASSERT_EQ(in<QTableWidget>(w, "grdBatchRows").rowCount(), 3);
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(cell(w, r, 1), QString("p%1").arg(r + 1));
            EXPECT_EQ(cell(w, r, 2), QString("000130%1").arg(r + 1));
            EXPECT_EQ(cell(w, r, 3), "waiting");
        }
        EXPECT_EQ(highlighted(w), 0);
        EXPECT_EQ(prompt(w), "Insert pager p1 and press Write.");
        EXPECT_FALSE(boardWrote()) << "nothing is written before the user says so";

        // Enter writes the first pager; the window follows the write as it runs.
        QStringList seen;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (seen.isEmpty() || seen.back() != cell(w, 0, 3)) seen << cell(w, 0, 3);
        });
        watch.start(1);
        QTest::keyClick(&w, Qt::Key_Return);
        watch.stop();
        if (seen.back() != cell(w, 0, 3)) seen << cell(w, 0, 3);
        EXPECT_EQ(seen, (QStringList{"waiting", "written", "verified"}));
        EXPECT_EQ(FirstDifference(board->memory(), WrittenRow(job.rows[0], templ)), -1);
        EXPECT_EQ(highlighted(w), 1);
        EXPECT_EQ(prompt(w), "Insert pager p2 and press Write.");

        in<QPushButton>(w, "btnBatchSkip").click();
        EXPECT_EQ(cell(w, 1, 3), "skipped");
        EXPECT_EQ(highlighted(w), 2);
        EXPECT_EQ(FirstDifference(board->memory(), WrittenRow(job.rows[0], templ)), -1) << "a skip writes nothing";

        QTest::keyClick(&w, Qt::Key_F4);
        EXPECT_EQ(cell(w, 2, 3), "verified");
        EXPECT_EQ(FirstDifference(board->memory(), WrittenRow(job.rows[2], templ)), -1);
        EXPECT_EQ(highlighted(w), -1);
        EXPECT_EQ(prompt(w), "The job has ended: 3 pagers: 2 verified, 1 skipped.");
        EXPECT_EQ(in<QProgressBar>(w, "PBBatchJob").value(), 3);
        EXPECT_FALSE(in<QPushButton>(w, "btnBatchWrite").isEnabled());
        EXPECT_FALSE(in<QPushButton>(w, "btnBatchJob").isEnabled()) << "a job under way keeps its list";

        // The last pager turns out bad: Redo takes its row back.
        in<QPushButton>(w, "btnBatchRedo").click();
        EXPECT_EQ(highlighted(w), 2);
        EXPECT_EQ(prompt(w), "Insert pager p3 and press Write.");
        QTest::keyClick(&w, Qt::Key_Return);
        EXPECT_EQ(cell(w, 2, 3), "verified");
        EXPECT_EQ(FirstDifference(board->memory(), WrittenRow(job.rows[2], templ)), -1);

        // The customer as the user corrects it goes on the delivery note.
        auto& customer = in<QLineEdit>(w, "edtBatchCustomer");
        customer.setFocus();
        QTest::keyClick(&customer, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&customer, "Ward 7 Hospital");
        QTest::keyClick(&customer, Qt::Key_Return);
        EXPECT_EQ(cell(w, 2, 3), "verified") << "Enter in the customer box writes no pager";
        nextSave = QString::fromStdString((dir / "note").string());  // ".pdf" is added
        in<QAction>(w, "mnuBatchNotePdf").trigger();
    });
    EXPECT_TRUE(notifier.shown.empty()) << notifier.keys().front();
    EXPECT_TRUE(image() == document) << "a job never changes the document";

    const auto text = RunProgram("/usr/bin/pdftotext", {"-layout", (dir / "note.pdf").string(), "-"});
    ASSERT_EQ(text.exitCode, 0) << "pdftotext (poppler-utils): " << text.err;
    EXPECT_NE(text.out.find("Ward 7 Hospital"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("3 pagers: 2 verified, 1 skipped"), std::string::npos) << text.out;
    for (const char* row : {"p1 .*1301.* verified", "p2 .*1302.* skipped", "p3 .*1303.* verified"}) {
        int lines = 0;
        for (const std::string& line : SplitLines(text.out)) lines += std::regex_search(line, std::regex(row));
        EXPECT_EQ(lines, 1) << row << " in\n" << text.out;
    }

    // The programming log keeps each written row with the customer and the
    // job and row it came from: p1, then p3 twice (written, redone).
    std::string error;
    const auto log = proglog::ProgrammingLog::open(app_->logCommands().target(), error);
    ASSERT_TRUE(log) << error;
    proglog::LogFilter filter;
    filter.text = "Ward Hospital";
    const auto records = log->query(filter, error);
    ASSERT_TRUE(records.has_value()) << error;
    const std::string source = "batch " + (dir / "job.csv").string() + ", row ";
    std::vector<std::string> notes;
    for (const auto& r : *records)
        if (r.note.starts_with(source)) notes.push_back(r.note.substr(source.size()));
    std::sort(notes.begin(), notes.end());
    EXPECT_EQ(notes, (std::vector<std::string>{"1 (p1)", "3 (p3)", "3 (p3)"}));
}

TEST_F(BatchWindowTest, AListWithARefusedValueIsReportedAndWritesNothing) {
    startWith(board);
    const ConfigImage memory = board->memory();
    WriteFile(dir / "job.csv", "name,capcode.1\np1,1301\np2,1302\np3,5\n");
    inBatchWindow([&](BatchWindow& w) {
        // A folder is no list: said, and nothing else changes.
        choose(w, "btnBatchJob", dir.path());
        EXPECT_EQ(notifier.keys(), std::vector<std::string>{"MsgBatchJobUnreadable"});
        EXPECT_EQ(in<QLineEdit>(w, "edtBatchJob").text(), "");

        choose(w, "btnBatchJob", dir / "job.csv");  // over the document, the default template
        auto& problems = in<QPlainTextEdit>(w, "memBatchProblems");
        EXPECT_TRUE(problems.isVisible());
        EXPECT_EQ(problems.toPlainText(), "line 4, capcode.1: Please insert a number between 0000007 to 2097151 !");
        EXPECT_EQ(prompt(w), "Rows that cannot be programmed: 1. Nothing was written.");
        EXPECT_EQ(w.job(), nullptr);
        QTest::keyClick(&w, Qt::Key_Return);
        QTest::keyClick(&w, Qt::Key_F4);
        EXPECT_FALSE(boardWrote());

        // The list mended, the job can start.
        WriteFile(dir / "job.csv", "name,capcode.1\np1,1301\np2,1302\np3,1303\n");
        choose(w, "btnBatchJob", dir / "job.csv");
        EXPECT_FALSE(problems.isVisible());
        EXPECT_EQ(in<QTableWidget>(w, "grdBatchRows").rowCount(), 3);
        EXPECT_TRUE(in<QPushButton>(w, "btnBatchWrite").isEnabled());
    });
    EXPECT_FALSE(boardWrote());
    EXPECT_TRUE(board->memory() == memory);
}

TEST_F(BatchWindowTest, ABoardLostDuringARowMarksItFailed) {
    useGermanLanguageFile();
    // identify, start, identity, serial and firmware reads, then five blocks
    startWith(board, {"--vanish-after", "10"});
    WriteFile(dir / "job.csv", "name,capcode.1\np1,1301\np2,1302\n");
    EXPECT_EQ(win().findChild<QAction*>("mnuBatchJob")->text(), "Serienauftrag...");
    inBatchWindow([&](BatchWindow& w) {
        EXPECT_EQ(w.windowTitle(), "Serienauftrag");
        EXPECT_EQ(in<QPushButton>(w, "btnBatchSkip").text(), "\u00DCberspringen");
        choose(w, "btnBatchJob", dir / "job.csv");
        QTest::keyClick(&w, Qt::Key_Return);
        EXPECT_EQ(cell(w, 0, 3), "fehlgeschlagen");
        EXPECT_EQ(cell(w, 1, 3), "wartet");
        EXPECT_EQ(highlighted(w), 0) << "a failed row stays the one to write";
        EXPECT_EQ(prompt(w), "Pager p1 ist fehlgeschlagen: Schreiben versucht es erneut, \u00DCberspringen l\u00E4sst ihn aus.");
        EXPECT_TRUE(in<QPushButton>(w, "btnBatchWrite").isEnabled());
    });
    EXPECT_EQ(notifier.keys(), (std::vector<std::string>{"Msg4", "MsgPartlyWritten"}));
    EXPECT_FALSE(win().boardSession().boardPort().has_value());
}

TEST_F(BatchWindowTest, AJobCutShortGoesOnAtTheFirstRowNotVerifiedAfterARestart) {
    startWith(board);
    const std::string csv = "name,capcode.1\np1,1301\np2,1302\np3,1303\np4,1304\n";
    WriteFile(dir / "job.csv", csv);
    const BatchJob job = ReadBatchJob(csv).job;
    const ConfigImage templ = image();
    inBatchWindow([&](BatchWindow& w) {
        choose(w, "btnBatchJob", dir / "job.csv");
        QTest::keyClick(&w, Qt::Key_Return);
        QTest::keyClick(&w, Qt::Key_Return);
        board.reset();  // the board is unplugged before p3
        QTest::keyClick(&w, Qt::Key_Return);
        EXPECT_EQ((QStringList{cell(w, 0, 3), cell(w, 1, 3), cell(w, 2, 3), cell(w, 3, 3)}),
                  (QStringList{"verified", "verified", "failed", "waiting"}));
        in<QPushButton>(w, "btnBatchStop").click();
        EXPECT_EQ(highlighted(w), -1);
        EXPECT_EQ(prompt(w), "The job was stopped: 4 pagers: 2 verified, 1 failed, 1 waiting.");
        EXPECT_FALSE(in<QPushButton>(w, "btnBatchWrite").isEnabled());
        EXPECT_FALSE(in<QPushButton>(w, "btnBatchSkip").isEnabled());
    });

    // The program is started again, with the board back, and the list chosen
    // again: the log tells where the job stood.
    app_.reset();
    notifier.clear();
    notifier.answers = {true};
    startWith(board);
    inBatchWindow([&](BatchWindow& w) {
        choose(w, "btnBatchJob", dir / "job.csv");
        ASSERT_EQ(notifier.keys(), std::vector<std::string>{"MsgBatchResume"});
        EXPECT_EQ(notifier.asked[0].args.at(0), "2") << "p1 and p2 verified";
        EXPECT_EQ((QStringList{cell(w, 0, 3), cell(w, 1, 3), cell(w, 2, 3), cell(w, 3, 3)}),
                  (QStringList{"verified", "verified", "failed", "waiting"}));
        EXPECT_EQ(highlighted(w), 2);
        EXPECT_EQ(in<QProgressBar>(w, "PBBatchJob").value(), 3);
        QTest::keyClick(&w, Qt::Key_Return);
        EXPECT_EQ(FirstDifference(board->memory(), WrittenRow(job.rows[2], templ)), -1);
        QTest::keyClick(&w, Qt::Key_Return);
        EXPECT_EQ(FirstDifference(board->memory(), WrittenRow(job.rows[3], templ)), -1);
        EXPECT_EQ(prompt(w), "The job has ended: 4 pagers: 4 verified.");
    });

    // Answered No, the list starts again from its first pager.
    notifier.clear();
    notifier.answers = {false};
    inBatchWindow([&](BatchWindow& w) {
        choose(w, "btnBatchJob", dir / "job.csv");
        ASSERT_EQ(notifier.keys(), std::vector<std::string>{"MsgBatchResume"});
        EXPECT_EQ(notifier.asked[0].args.at(0), "4");
        EXPECT_EQ(cell(w, 0, 3), "waiting");
        EXPECT_EQ(highlighted(w), 0);
    });
}

}  // namespace
}  // namespace zrv::test
