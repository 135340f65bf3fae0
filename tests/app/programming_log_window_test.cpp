// The programming log of the window, as a dealer uses it against the board
// simulator: every transfer and OTA send recorded with the pager as the
// board holds it, the status line's "Logged", a log that cannot be written
// never stopping a read, and Tools > Programming Log: search, dates,
// "Open this image" undone in one step, the export of the shown rows.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "app/compare_commands.h"
#include "app/edit_history.h"
#include "editors/compare_window.h"
#include "app/log_commands.h"
#include "core/capcodes.h"
#include "core/image_rules.h"
#include "link/board_session.h"
#include "link/programming_session.h"
#include "link/ui/programming_window.h"
#include "log/programming_log.h"
#include "log/ui/programming_log_window.h"
#include "ota/ui/ota_window.h"
#include "tests/app/window_fixture.h"
#include "tests/link/boardsim_process.h"
#include "tests/ota/encoder_sim_process.h"

namespace zrv::test {
namespace {

using proglog::ProgrammingRecord;

class ProgrammingLogWindowTest : public WindowTest {
protected:
    void SetUp() override {
        qputenv(link::kReadPauseVariable, "0");  // the simulator answers at once
        // The window's log: the default, in its own program folder.
        testsLog_ = qgetenv(proglog::kLogDatabaseVariable);
        qunsetenv(proglog::kLogDatabaseVariable);
        WindowTest::SetUp();
    }
    void TearDown() override {
        WindowTest::TearDown();
        qputenv(proglog::kLogDatabaseVariable, testsLog_);
        qunsetenv(link::kReadPauseVariable);
    }
    QByteArray testsLog_;
    void startWith(Boardsim& board) {
        options.probeBoard = true;
        options.ports = {board.path()};
        start();
        ASSERT_TRUE(win().boardSession().boardPort().has_value());
    }
    link::ui::ProgrammingWindow& form1() { return *app_->companions().Form1; }
    QPushButton& form1Button(const char* name) { return *form1().findChild<QPushButton*>(name); }
    /// Chooses a Pager menu item; once the programming window offers Exit,
    /// runs \p whileOpen and leaves it with Exit.
    void operate(const char* item, const std::function<void()>& whileOpen = {}) {
        bool done = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!form1().isVisible() || form1().busy() || !form1Button("cmdExit").isVisible()) return;
            poll.stop();
            done = true;
            if (whileOpen) whileOpen();
            form1Button("cmdExit").click();
        });
        poll.start(10);
        win().action(item)->trigger();
        ASSERT_TRUE(done) << item;
    }
    QString status() { return get<QLabel>("staMsg")->text(); }
    std::unique_ptr<proglog::ProgrammingLog> openLog() {
        std::string error;
        auto log = proglog::ProgrammingLog::open(
            {proglog::LogTarget::Kind::SQLite, (programDir / proglog::kLogFileName).string(), "", false}, error);
        EXPECT_TRUE(log) << error;
        return log;
    }
    ProgrammingRecord stored(long long id) {
        std::string error;
        const auto log = openLog();
        auto r = log ? log->record(id, error) : std::nullopt;
        EXPECT_TRUE(r) << error;
        return r.value_or(ProgrammingRecord{});
    }
    proglog::ui::ProgrammingLogWindow& logWindow() { return app_->logCommands().window(); }
    template <class T>
    T& inLog(const char* name) {
        T* w = logWindow().findChild<T*>(name);
        if (!w) throw std::logic_error(std::string("frmProgLog has no ") + name);
        return *w;
    }
    std::vector<long long> shownIds() {
        auto& model = logWindow().model();
        while (model.canFetchMore()) model.fetchMore();
        std::vector<long long> ids;
        for (int row = 0; row < model.rowCount(); ++row) ids.push_back(model.index(row, 0).data().toLongLong());
        return ids;
    }

    TempDir pagerDir;
};

ConfigImage PagerHolding(std::uint32_t firstCapcode) {
    ConfigImage pager = SampleImage();
    SetCapcode(pager, 0, firstCapcode);
    SetCapcodeOn(pager, 0, true);
    StoreTableChecksum(pager);
    return pager;
}

TEST_F(ProgrammingLogWindowTest, EveryTransferIsRecordedWithThePagerAsTheBoardHoldsIt) {
    WriteMemoryFile(pagerDir / "pager.tbl", PagerHolding(1234567));
    Boardsim board({"--table", (pagerDir / "pager.tbl").string(), "--firmware", "12"});
    startWith(board);

    operate("mnuRead");
    EXPECT_TRUE(status().endsWith("   Logged")) << status().toStdString();
    const ProgrammingRecord read = stored(1);
    EXPECT_EQ(read.operation, PagerOperation::Read);
    EXPECT_EQ(read.image, board.memory());
    EXPECT_EQ(read.capcodes.at(0), (proglog::RecordedCapcode{1, 1234567, true}));
    EXPECT_EQ(read.port, board.path());

    get<QRadioButton>("RBtWrite")->click();
    operate("mnuWrite");
    operate("mnuVerfy");
    get<QRadioButton>("RBtModify")->click();
    box("optAuto1")->click();
    get<QRadioButton>("RBtWrite")->click();
    operate("mnuWrite", [&] {
        for (int pager = 0; pager < 3; ++pager) form1Button("cmdWrite").click();
    });
    struct Expected {
        long long id;
        PagerOperation operation;
        std::uint32_t firstCapcode;
    };
    const Expected expected[] = {{2, PagerOperation::Write, 1234567},
                                 {3, PagerOperation::Verify, 1234567},
                                 {4, PagerOperation::RepeatedWrite, 1234567},
                                 {5, PagerOperation::RepeatedWrite, 1234568},
                                 {6, PagerOperation::RepeatedWrite, 1234569}};
    for (const Expected& e : expected) {
        const ProgrammingRecord r = stored(e.id);
        EXPECT_EQ(r.operation, e.operation) << e.id;
        EXPECT_EQ(r.result, "ok") << e.id;
        EXPECT_EQ(r.firmware, 12) << e.id;
        EXPECT_EQ(r.capcodes.at(0).capcode, e.firstCapcode) << e.id;
    }
    const ProgrammingRecord last = stored(6);
    EXPECT_EQ(last.image, board.memory()) << "the last pager as the board holds it";
    EXPECT_EQ(last.sha256, proglog::ImageSha256(board.memory()));
    std::string error;
    const auto all = openLog()->query({}, error);
    ASSERT_TRUE(all) << error;
    EXPECT_EQ(all->size(), 6u) << "six operations, six records";
}

TEST_F(ProgrammingLogWindowTest, AnOtaSendIsRecorded) {
    start();
    EncoderSimProcess sim;
    ASSERT_FALSE(sim.path().empty());
    ota::ui::OtaWindow& ota = *app_->companions().frmOTA;
    ota.show();
    QApplication::processEvents();
    const auto click = [&](const char* name) { ota.findChild<QAbstractButton*>(name)->click(); };
    click("chkDateField");
    ota.findChild<QLineEdit*>("edtDateField")->setText("1412301530");
    click("chkSysDate");
    ota.findChild<QLineEdit*>("edtID")->setText("1234567N12");
    ota.findChild<QComboBox*>("cboEncoderPort")->setEditText(QString::fromStdString(sim.path()));
    click("chkCmd0");
    click("btnOTASend");
    ota.hide();
    ASSERT_EQ(notifier.shown.back().english, "Transmit Success !");
    const ProgrammingRecord r = stored(1);
    EXPECT_EQ(r.operation, PagerOperation::OtaSend);
    EXPECT_EQ(r.result, "ok");
    EXPECT_EQ(r.port, sim.path());
    EXPECT_EQ(r.image, image()) << "the configuration the commands were built from";
    EXPECT_TRUE(status().endsWith("   Logged")) << status().toStdString();
}

TEST_F(ProgrammingLogWindowTest, ALogThatCannotBeOpenedNeverStopsAReadAndIsTriedAgain) {
    // The window's setting names a log in a folder that does not exist.
    const std::string missing = (programDir / "no-such-folder" / "log.sqlite").string();
    QSettings(options.settingsFile, QSettings::IniFormat)
        .setValue(proglog::kLogDatabaseSetting, QString::fromStdString(missing));
    WriteMemoryFile(pagerDir / "pager.tbl", PagerHolding(765432));
    Boardsim board({"--table", (pagerDir / "pager.tbl").string()});
    startWith(board);
    operate("mnuRead");
    EXPECT_EQ(CapcodeAt(image(), 0), 765432u) << "the read went on";
    EXPECT_TRUE(status().contains("   Not logged: the programming log " + QString::fromStdString(missing) + ": "))
        << status().toStdString();
    EXPECT_TRUE(notifier.shown.empty()) << "no box holds up the dealer";
    EXPECT_FALSE(std::filesystem::exists(programDir / "no-such-folder"));
    // Once the folder is there, the next operation is recorded.
    std::filesystem::create_directory(programDir / "no-such-folder");
    operate("mnuRead");
    EXPECT_TRUE(status().endsWith("   Logged")) << status().toStdString();
    std::string error;
    const auto log = proglog::ProgrammingLog::open({proglog::LogTarget::Kind::SQLite, missing, "", false}, error);
    ASSERT_TRUE(log) << error;
    EXPECT_EQ(log->query({}, error).value_or(std::vector<ProgrammingRecord>{}).size(), 1u);
}

TEST_F(ProgrammingLogWindowTest, TheLogWindowFindsRecordsOpensAnImageUndoablyAndExportsTheShownRows) {
    WriteMemoryFile(pagerDir / "pager.tbl", PagerHolding(1111111));
    Boardsim board({"--table", (pagerDir / "pager.tbl").string()});
    startWith(board);
    operate("mnuRead");
    const ConfigImage pagerAtRead = board.memory();
    box("optAuto1")->click();
    get<QRadioButton>("RBtWrite")->click();
    operate("mnuWrite", [&] {
        form1Button("cmdWrite").click();
        form1Button("cmdWrite").click();
    });  // records 2 and 3: capcodes 1111111 and 1111112
    ASSERT_EQ(CapcodeAt(image(), 0), 1111113u);
    // Back to single writes: the auto-increase is kept in the image.
    get<QRadioButton>("RBtModify")->click();
    box("optAuto1")->click();

    win().action("mnuProgLog")->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(logWindow().isVisible());
    EXPECT_EQ(shownIds(), (std::vector<long long>{3, 2, 1}));
    auto& search = inLog<QLineEdit>("edtLogSearch");
    struct Case {
        const char* typed;
        std::vector<long long> ids;
    };
    const Case cases[] = {{"1111112", {3}}, {"Qant0000000", {3, 2}}, {"pager.tbl", {}}, {"", {3, 2, 1}}};
    for (const Case& c : cases) {
        search.clear();
        QTest::keyClicks(&search, c.typed);
        EXPECT_EQ(shownIds(), c.ids) << c.typed;
    }
    auto& until = inLog<QDateEdit>("dtLogTo");
    until.setDate(QDate::currentDate().addDays(-1));
    inLog<QCheckBox>("chkLogTo").click();
    EXPECT_TRUE(shownIds().empty()) << "nothing was logged before today";
    inLog<QCheckBox>("chkLogTo").click();

    // The read comes back as one change, undone in one step.
    auto& grid = inLog<QTableView>("grdLog");
    grid.selectRow(2);
    EXPECT_TRUE(inLog<QPlainTextEdit>("memLogDetails").toPlainText().contains("Operation: read\n"));
    const ConfigImage beforeOpen = image();
    inLog<QPushButton>("btnLogOpenImage").click();
    // The pager's memory as a read makes it: normalised, the texts in the
    // PC's character set, the values a refresh forces. The capcode music
    // type's two bits are the refresh's box handler's, which runs only when
    // the box changes, and are left out.
    ConfigImage expected = pagerAtRead;
    int capcodeCount = 0;
    link::TakeAsRead(expected, capcodeCount);
    ApplyRefreshForcedValues(expected);
    ConfigImage opened = image();
    for (ConfigImage* side : {&expected, &opened}) {
        side->SetImageBits(0x2F, 0, 0, 1);
        side->SetImageBits(0x458, 2, 0, 1);
    }
    EXPECT_EQ(opened, expected);
    EXPECT_EQ(CapcodeAt(image(), 0), 1111111u);
    EXPECT_TRUE(win().document().modified());
    win().history().undoAction().trigger();
    EXPECT_EQ(image(), beforeOpen);

    // The last pager written, compared field by field with what the window
    // holds now (the capcode raised for the next pager).
    grid.selectRow(0);
    inLog<QPushButton>("btnLogCompare").click();
    CompareWindow& compare = app_->compareCommands().window();
    EXPECT_TRUE(compare.isVisible());
    const auto names = compare.shownNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "capcode.1"), names.end());
    compare.close();

    // The rows shown, as CSV.
    search.clear();
    QTest::keyClicks(&search, "1111112");
    nextSave = QString::fromStdString((pagerDir / "shown.csv").string());
    inLog<QPushButton>("btnLogExport").click();
    const auto lines = SplitLines(ReadFile(pagerDir / "shown.csv"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].rfind("3,", 0), 0u) << lines[1];

    // Another log chosen in the window is its setting from then on; an
    // empty choice is the default again.
    search.clear();
    const QString other = QString::fromStdString((pagerDir / "shop.sqlite").string());
    inLog<QLineEdit>("edtLogDatabase").setText(other);
    inLog<QPushButton>("btnLogUseDatabase").click();
    EXPECT_TRUE(shownIds().empty());
    EXPECT_EQ(QSettings(options.settingsFile, QSettings::IniFormat).value(proglog::kLogDatabaseSetting), other);
    EXPECT_EQ(app_->logCommands().target().location, other.toStdString());
    inLog<QLineEdit>("edtLogDatabase").clear();
    inLog<QPushButton>("btnLogUseDatabase").click();
    EXPECT_EQ(shownIds(), (std::vector<long long>{3, 2, 1}));
    EXPECT_FALSE(QSettings(options.settingsFile, QSettings::IniFormat).contains(proglog::kLogDatabaseSetting));
    logWindow().close();
}

}  // namespace
}  // namespace zrv::test
